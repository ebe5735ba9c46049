#include "panes/BookReference.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

TEST(BookReference, ResolvesInsideTheBookOnly)
{
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString root = work.path();
    ASSERT_TRUE(QDir(root).mkpath("OEBPS/Text"));
    for (const QString& file : {QString("OEBPS/Text/a b.xhtml"), QString("OEBPS/Text/100%.xhtml")}) {
        QFile touch(root + "/" + file);
        ASSERT_TRUE(touch.open(QIODevice::WriteOnly));
    }
    const QString nav = root + "/OEBPS/nav/";
    const struct {
        QString reference;
        QString expected; // below the work folder; empty: refused
    } table[] = {
        {"../Text/a b.xhtml", "/OEBPS/Text/a b.xhtml"},
        {"../Text/a%20b.xhtml", "/OEBPS/Text/a b.xhtml"},  // decoded: only that names a file
        {"../Text/100%.xhtml", "/OEBPS/Text/100%.xhtml"},  // a real "%" in a name stays
        {"../Text/new%20one.xhtml", "/OEBPS/Text/new%20one.xhtml"}, // neither exists: as written
        {"../../../outside.xhtml", ""},
        {"", ""},
    };
    for (const auto& row : table)
        EXPECT_EQ(BookReference::Resolve(nav, row.reference, root),
                  row.expected.isEmpty() ? QString() : root + row.expected)
            << row.reference.toStdString();
}

TEST(BookReference, ChapterExtensionsCountCase)
{
    for (const char* path : {"a.html", "a.htm", "a.xml", "dir.d/a.xhtml"})
        EXPECT_TRUE(BookReference::HasChapterExtension(path)) << path;
    for (const char* path : {"a.XHTML", "a.css", "a.xhtml/", "xhtml", "a.png"})
        EXPECT_FALSE(BookReference::HasChapterExtension(path)) << path;
    EXPECT_EQ(BookReference::FolderOf("/w/OEBPS/toc.ncx"), "/w/OEBPS/");
    EXPECT_EQ(BookReference::FolderOf("toc.ncx"), "");
}
