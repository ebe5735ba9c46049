#include "platform/core/KnownFolders.h"

#include <gtest/gtest.h>

#include <QDir>
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

} // namespace
