#include "platform/core/PathGuard.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(PathGuard, SafeRelativePaths)
{
    const struct {
        const char* name;
        bool safe;
    } cases[] = {
        {"OEBPS/content.opf", true}, {"mimetype", true}, {"a/b/", true}, {"a..b/c", true},
        {"..hidden", true}, {"./a", true},
        {"", false}, {"/etc/passwd", false}, {"\\server\\share", false}, {"C:/x", false},
        {"c:x", false}, {"..", false}, {"../a", false}, {"a/../../b", false}, {"a/..", false},
        {"a\\..\\..\\b", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::IsSafeRelativePath(c.name), c.safe) << c.name;
}

TEST(PathGuard, InsideFolderResolvesDotsAndLinks)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.filePath("work");
    ASSERT_TRUE(QDir().mkpath(root + "/OEBPS"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("elsewhere")));
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere"), root + "/out"));
    ASSERT_TRUE(QFile::link(root + "/OEBPS", root + "/in"));
    ASSERT_TRUE(QFile::link(dir.filePath("gone"), root + "/dangling"));

    const struct {
        QString path;
        bool inside;
    } cases[] = {
        {root, true},
        {root + "/", true},
        {root + "/OEBPS/content.opf", true},
        {root + "/not/yet/made.txt", true},
        {root + "/OEBPS/../mimetype", true},
        {root + "/in/c1.xhtml", true},
        {root + "/../work-sibling", false},
        {root + "/OEBPS/../../x", false},
        {dir.filePath("work2/x"), false},
        {root + "/out/x", false},
        {root + "/dangling", false},
        {"/etc/passwd", false},
        {QString(), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::IsInsideFolder(root, c.path), c.inside) << c.path.toStdString();
    EXPECT_FALSE(platform::IsInsideFolder(QString(), root));
}
