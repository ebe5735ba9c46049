#include "package/NewBookSkeleton.h"

#include "MetadataTestSupport.h"

#include <QDir>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

const QString kTemplates = QStringLiteral(KVX_SOURCE_DIR "/template");

// The fixed texts as a new book must hold them, "{%s}" standing for the GUID. As strings,
// so that a wrong byte shows as a line-by-line difference. The package lists the style
// sheet in its manifest, as a valid book must.
std::string expectedText(const char* name)
{
    return ReadFile(QStringLiteral(KVX_SOURCE_DIR "/package/tests/data/skeleton/") + QLatin1String(name)).toStdString();
}

} // namespace

TEST(NewBookSkeleton, WorkFolderNamesCountOn)
{
    QTemporaryDir base;
    QStringList made;
    for (int i = 0; i < 4; ++i)
        made << QFileInfo(CNewBookSkeleton::MakeNewWorkFolder(base.path())).fileName();
    EXPECT_EQ(made, (QStringList{"NewEpub.epub", "NewEpub(01).epub", "NewEpub(02).epub", "NewEpub(03).epub"}));
    for (const char* sub : {"META-INF", "OEBPS", "OEBPS/images"})
        EXPECT_TRUE(QFileInfo(base.filePath(QStringLiteral("NewEpub(01).epub/") + sub)).isDir()) << sub;
    // A name taken by a file counts on like a folder.
    ASSERT_TRUE(WriteFile(base.filePath("NewEpub(04).epub"), "x"));
    EXPECT_EQ(QFileInfo(CNewBookSkeleton::MakeNewWorkFolder(base.path() + "/")).fileName(), QStringLiteral("NewEpub(05).epub"));
}

TEST(NewBookSkeleton, SearchEndsWhenTheBaseTakesNoFolders)
{
    QTemporaryDir base;
    EXPECT_EQ(CNewBookSkeleton::MakeNewWorkFolder(base.filePath("missing/deeper")), QString());
    ASSERT_TRUE(WriteFile(base.filePath("plainfile"), "x"));
    EXPECT_EQ(CNewBookSkeleton::MakeNewWorkFolder(base.filePath("plainfile")), QString());
}

TEST(NewBookSkeleton, SkeletonFilesAreTheFixedTextsWithOneFreshGuid)
{
    QTemporaryDir base;
    QStringList guids;
    for (int book = 0; book < 2; ++book) {
        const QString folder = CNewBookSkeleton::MakeNewWorkFolder(base.path());
        ASSERT_TRUE(CNewBookSkeleton::WriteSkeletonFiles(folder));
        const QByteArray ncx = ReadFile(folder + "/OEBPS/toc.ncx");
        const QByteArray opf = ReadFile(folder + "/OEBPS/content.opf");
        const QRegularExpression uid("content=\"\\{([0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12})\\}\"");
        const QRegularExpressionMatch match = uid.match(QString::fromUtf8(ncx));
        ASSERT_TRUE(match.hasMatch());
        const QByteArray guid = match.captured(1).toLatin1();
        guids << match.captured(1);
        EXPECT_TRUE(opf.contains("<dc:identifier id=\"EPB-UUID\">{" + guid + "}</dc:identifier>"));

        // The fixed texts, the GUID put back as its placeholder.
        EXPECT_EQ(ReadFile(folder + "/mimetype"), QByteArray("application/epub+zip"));
        EXPECT_EQ(ReadFile(folder + "/META-INF/container.xml").toStdString(), expectedText("container.xml"));
        EXPECT_EQ(ReadFile(folder + "/OEBPS/stylesheet.css").toStdString(), expectedText("stylesheet.css"));
        EXPECT_EQ(QByteArray(ncx).replace(guid, "%s").toStdString(), expectedText("toc.ncx"));
        EXPECT_EQ(QByteArray(opf).replace(guid, "%s").toStdString(), expectedText("content.opf"));
    }
    EXPECT_NE(guids[0], guids[1]);
}

TEST(NewBookSkeleton, EmptyChapterText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("new.xhtml");
    ASSERT_TRUE(WriteFile(path, "previous content, longer than the chapter text ............................"
                                "..................................................................."
                                "..................................................................."
                                "..................................................................."));
    ASSERT_TRUE(CNewBookSkeleton::WriteEmptyChapter(path));
    EXPECT_EQ(ReadFile(path).toStdString(), expectedText("empty-chapter.xhtml"));
    EXPECT_FALSE(CNewBookSkeleton::WriteEmptyChapter(dir.filePath("no/such/folder/x.xhtml")));
}

TEST(NewBookSkeleton, TemplateChaptersAreCopiedAndMissingOnesFail)
{
    QTemporaryDir base;
    const QString folder = CNewBookSkeleton::MakeNewWorkFolder(base.path());
    ASSERT_TRUE(WriteFile(folder + "/OEBPS/ch01.xhtml", "old"));
    ASSERT_TRUE(CNewBookSkeleton::CopyTemplateChapters(folder, kTemplates));
    for (const QString& chapter : CNewBookSkeleton::TemplateChapterNames())
        EXPECT_EQ(ReadFile(folder + "/OEBPS/" + chapter), ReadFile(kTemplates + "/" + chapter)) << chapter.toStdString();

    QTemporaryDir partial;
    QFile::copy(kTemplates + "/ch01.xhtml", partial.filePath("ch01.xhtml"));
    EXPECT_FALSE(CNewBookSkeleton::CopyTemplateChapters(folder, partial.path()));
}

TEST(NewBookSkeleton, TemplateChaptersAreXhtmlThatLinksTheStyleSheet)
{
    for (const QString& chapter : CNewBookSkeleton::TemplateChapterNames()) {
        CXmlDocument document;
        ASSERT_TRUE(document.Parse(kTemplates + "/" + chapter)) << chapter.toStdString();
        const CXmlNode root = document.GetDocumentElement();
        EXPECT_EQ(root.GetAttribute("xmlns"), QStringLiteral("http://www.w3.org/1999/xhtml"));
        EXPECT_EQ(root.SelectSingleNode("/html/head/link").GetAttribute("href"), QStringLiteral("stylesheet.css"));
        EXPECT_FALSE(root.SelectSingleNode("/html/body").GetTextContent().trimmed().isEmpty());
    }
}
