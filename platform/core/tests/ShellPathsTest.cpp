#include "platform/core/ShellPaths.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(ShellPaths, CompactsToTheLimit)
{
    const QString longName = QString(50, u'n');
    const struct {
        QString path;
        QString expected;
    } cases[] = {
        {"/out/report.pdf", "/out/report.pdf"},
        {longName, QString(41, u'n') + "..."},
        {"/home/someone/documents/projects/2026/quarterly/report.pdf",
         "/home/someone/documents/projec.../report.pdf"},
        {"/tmp/" + longName, ".../" + QString(37, u'n') + "..."},
        {QString(44, u'x'), QString(44, u'x')},
        {"/home/someone/documents/projects/2026/quarterly/", "/home/someone/documents/projec.../quarterly/"},
    };
    for (const auto& c : cases) {
        const QString compact = PathCompactPath(c.path, 44);
        EXPECT_EQ(compact, c.expected) << qPrintable(c.path);
        EXPECT_LE(compact.size(), 44);
    }
}

TEST(ShellPaths, RecognisesUrls)
{
    EXPECT_TRUE(PathIsUrl("http://example.com/a.html"));
    EXPECT_TRUE(PathIsUrl("file:///tmp/a.txt"));
    EXPECT_TRUE(PathIsUrl("mailto:a@b.c"));
    EXPECT_FALSE(PathIsUrl("C:\\docs\\a.txt"));
    EXPECT_FALSE(PathIsUrl("/tmp/a:b.txt"));
    EXPECT_FALSE(PathIsUrl("report.doc"));
    EXPECT_FALSE(PathIsUrl("my file:1"));
}
