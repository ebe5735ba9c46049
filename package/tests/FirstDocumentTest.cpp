#include "package/OpenPackageFormat.h"

#include "TestBooks.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray ncxWithFirstPoint(const QByteArray& attributes, const QByteArray& content)
{
    return "<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\"><navMap><navPoint " + attributes
        + "><navLabel><text>L</text></navLabel>" + content + "</navPoint></navMap></ncx>";
}

} // namespace

// The first chapter comes from the NCX's playOrder 1 when it can, else from the spine.
TEST(FirstDocument, NcxStepFirstThenTheSpine)
{
    const struct {
        const char* name;
        QByteArray ncx;
        const char* expected; // relative to the package folder
    } cases[] = {
        {"play order 1 wins over the spine", ncxWithFirstPoint("id=\"n\" playOrder=\"1\"", "<content src=\"text/c2.xhtml\"/>"), "text/c2.xhtml"},
        {"a fragment is not part of the file", ncxWithFirstPoint("id=\"n\" playOrder=\"1\"", "<content src=\"text/c2.xhtml#p3\"/>"), "text/c2.xhtml"},
        {"a percent-encoded source names the decoded file", ncxWithFirstPoint("id=\"n\" playOrder=\"1\"", "<content src=\"text/c%202.xhtml#p3\"/>"), "text/c 2.xhtml"},
        {"a source leaving the book is not used", ncxWithFirstPoint("id=\"n\" playOrder=\"1\"", "<content src=\"../../../../etc/passwd\"/>"), "c1.xhtml"},
        {"no source: the point's id as a manifest id", ncxWithFirstPoint("id=\"c2\" playOrder=\"1\"", ""), "text/c2.xhtml"},
        {"playOrder 0 falls back to the spine", ncxWithFirstPoint("id=\"n\" playOrder=\"0\"", "<content src=\"text/c2.xhtml\"/>"), "c1.xhtml"},
        {"an NCX that cannot be read", "<ncx><navMap>", "c1.xhtml"},
    };
    for (const auto& c : cases) {
        QTemporaryDir work;
        ASSERT_TRUE(testbooks::writeFile(work.filePath("OEBPS/content.opf"), testbooks::kPackage));
        ASSERT_TRUE(testbooks::writeFile(work.filePath("OEBPS/toc.ncx"), c.ncx));
        ASSERT_TRUE(testbooks::writeFile(work.filePath("OEBPS/text/c 2.xhtml"), "<html/>"));
        COpenPackageFormat package;
        package.SetWorkFolder(work.path());
        ASSERT_TRUE(package.LoadPackageDocument(work.filePath("OEBPS/content.opf")));
        QString path;
        EXPECT_TRUE(package.GetOPFManager().GetFirstDocumentPath(path)) << c.name;
        EXPECT_EQ(path, work.filePath(QStringLiteral("OEBPS/") + c.expected)) << c.name;
    }
}
