#include "platform/core/KnownFolders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// A prefix with bin/ and, as each case asks, bin/template and share/lindar/template.
TEST(ProgramDataFolder, BesideTheProgramInABuildElseTheInstalledDataFolder)
{
    const struct {
        const char* name;
        bool beside;
        bool installed;
        const char* expected; // below the prefix
        bool installedCopy;
    } cases[] = {
        {"build folder", true, false, "bin/template", false},
        {"installed copy", false, true, "share/lindar/template", true},
        {"both: the build's copy wins", true, true, "bin/template", false},
        {"neither: where a build puts it", false, false, "bin/template", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir prefix;
        ASSERT_TRUE(prefix.isValid());
        const QString bin = prefix.filePath("bin");
        QDir().mkpath(bin);
        if (c.beside)
            QDir().mkpath(prefix.filePath("bin/template"));
        if (c.installed)
            QDir().mkpath(prefix.filePath("share/lindar/template"));
        EXPECT_EQ(platform::ProgramDataFolder(bin, "template"), prefix.filePath(c.expected));
        EXPECT_EQ(platform::IsInstalledCopy(bin), c.installedCopy);
    }
}

// Thumbnails and exported styles: beside the data in a build, in the user's data for an
// installed copy, whose folders are only read.
TEST(WritableDataFolder, BesideTheDataInABuildElseInTheUsersData)
{
    for (const bool installed : {false, true}) {
        SCOPED_TRACE(installed ? "installed copy" : "build folder");
        QTemporaryDir prefix;
        ASSERT_TRUE(prefix.isValid());
        const QString bin = prefix.filePath("bin");
        QDir().mkpath(installed ? prefix.filePath("share/lindar/template") : prefix.filePath("bin/template"));
        const QString expected = installed ? platform::LocalAppDataFolder() + "/lindar/thumbnail"
                                           : prefix.filePath("bin/thumbnail");
        EXPECT_EQ(platform::WritableDataFolder(bin, "thumbnail"), expected);
        EXPECT_TRUE(QFileInfo(expected).isDir()) << "the folder is made";
        EXPECT_FALSE(QFileInfo::exists(prefix.filePath("share/lindar/thumbnail")));
    }
}

} // namespace
