#include "platform/core/LastError.h"
#include "platform/core/Registry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace platform;

namespace {

const QString kProduct = QStringLiteral("SOFTWARE\\Kvx\\Shared\\Install Information\\Pressa2007");

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(Registry::hiveFile(RegistryHive::LocalMachine));
        QFile::remove(Registry::hiveFile(RegistryHive::CurrentUser));
    }
};

} // namespace

TEST_F(RegistryTest, WritesReadsAndDeletesTextValues)
{
    ASSERT_TRUE(Registry::writeText(RegistryHive::LocalMachine, kProduct, "Path", "/opt/kvx/"));
    EXPECT_EQ(GetLastError(), ErrorSuccess);

    QString text;
    ASSERT_TRUE(Registry::readText(RegistryHive::LocalMachine, kProduct, "Path", &text));
    EXPECT_EQ(text, "/opt/kvx/");
    // Key and value names match whatever their case.
    ASSERT_TRUE(Registry::readText(RegistryHive::LocalMachine, "software\\KVX\\shared\\install information\\PRESSA2007",
                                   "path", &text));
    EXPECT_EQ(text, "/opt/kvx/");

    ASSERT_TRUE(Registry::writeText(RegistryHive::LocalMachine, kProduct, "PATH", "/srv/"));
    QStringList names;
    ASSERT_TRUE(Registry::valueNames(RegistryHive::LocalMachine, kProduct, &names));
    EXPECT_EQ(names, QStringList {"Path"}); // replaced, first spelling kept

    ASSERT_TRUE(Registry::deleteValue(RegistryHive::LocalMachine, kProduct, "Path"));
    EXPECT_FALSE(Registry::readText(RegistryHive::LocalMachine, kProduct, "Path", &text));
    EXPECT_EQ(GetLastError(), ErrorFileNotFound);
    EXPECT_TRUE(Registry::keyExists(RegistryHive::LocalMachine, kProduct));
}

TEST_F(RegistryTest, MissingKeysAndValuesReportFileNotFound)
{
    QString text = "untouched";
    EXPECT_FALSE(Registry::readText(RegistryHive::CurrentUser, "Software\\Nobody", "x", &text));
    EXPECT_EQ(GetLastError(), ErrorFileNotFound);
    EXPECT_EQ(text, "untouched");
    EXPECT_FALSE(Registry::deleteValue(RegistryHive::CurrentUser, "Software\\Nobody", "x"));
    EXPECT_EQ(GetLastError(), ErrorFileNotFound);
    EXPECT_FALSE(Registry::keyExists(RegistryHive::CurrentUser, "Software\\Nobody"));
    EXPECT_FALSE(Registry::deleteKey(RegistryHive::CurrentUser, "Software\\Nobody"));
    EXPECT_EQ(GetLastError(), ErrorFileNotFound);
    // Deleting a value that is not there must not create its key.
    EXPECT_FALSE(QFileInfo::exists(Registry::hiveFile(RegistryHive::CurrentUser)));
}

TEST_F(RegistryTest, HivesAreSeparate)
{
    ASSERT_TRUE(Registry::writeText(RegistryHive::CurrentUser, "Software\\A", "v", "user"));
    QString text;
    EXPECT_FALSE(Registry::readText(RegistryHive::LocalMachine, "Software\\A", "v", &text));
    ASSERT_TRUE(Registry::readText(RegistryHive::CurrentUser, "Software\\A", "v", &text));
    EXPECT_EQ(text, "user");
}

TEST_F(RegistryTest, KeysNestAndDeleteWithTheirSubtree)
{
    ASSERT_TRUE(Registry::createKey(RegistryHive::LocalMachine, "Software\\Uninstall\\Writer\\Parts"));
    ASSERT_TRUE(Registry::writeText(RegistryHive::LocalMachine, "Software\\Uninstall\\Writer", "DisplayName", "W"));
    ASSERT_TRUE(Registry::createKey(RegistryHive::LocalMachine, "Software\\Uninstall\\Other"));
    QStringList keys;
    ASSERT_TRUE(Registry::subKeys(RegistryHive::LocalMachine, "Software\\Uninstall", &keys));
    keys.sort();
    EXPECT_EQ(keys, (QStringList {"Other", "Writer"}));

    ASSERT_TRUE(Registry::deleteKey(RegistryHive::LocalMachine, "software\\uninstall\\writer"));
    EXPECT_FALSE(Registry::keyExists(RegistryHive::LocalMachine, "Software\\Uninstall\\Writer\\Parts"));
    EXPECT_TRUE(Registry::keyExists(RegistryHive::LocalMachine, "Software\\Uninstall\\Other"));
    EXPECT_FALSE(Registry::deleteKey(RegistryHive::LocalMachine, ""));
}

TEST_F(RegistryTest, EmptyTextIsAValue)
{
    ASSERT_TRUE(Registry::writeText(RegistryHive::LocalMachine, "Software\\RunOnce", "PDF_driver", ""));
    QString text = "x";
    ASSERT_TRUE(Registry::readText(RegistryHive::LocalMachine, "Software\\RunOnce", "PDF_driver", &text));
    EXPECT_TRUE(text.isEmpty());
}

TEST_F(RegistryTest, CorruptHiveIsReportedAndNeverOverwritten)
{
    const QString hive = Registry::hiveFile(RegistryHive::LocalMachine);
    QDir().mkpath(QFileInfo(hive).absolutePath());
    QFile file(hive);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{ half a hive");
    file.close();

    QString text;
    EXPECT_FALSE(Registry::readText(RegistryHive::LocalMachine, kProduct, "Path", &text));
    EXPECT_EQ(GetLastError(), ErrorBadDatabase);
    EXPECT_FALSE(Registry::writeText(RegistryHive::LocalMachine, kProduct, "Path", "x"));
    EXPECT_EQ(GetLastError(), ErrorBadDatabase);

    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "{ half a hive");
}

TEST(LastError, SystemTextsAndUnknownCodes)
{
    QString text;
    ASSERT_TRUE(SystemErrorText(ErrorPrinterAlreadyExists, &text));
    EXPECT_EQ(text, "The printer already exists.");
    ASSERT_TRUE(SystemErrorText(ErrorSuccess, &text));
    EXPECT_EQ(text, "The operation completed successfully.");
    text = "kept";
    EXPECT_FALSE(SystemErrorText(0xDEAD, &text));
    EXPECT_EQ(text, "kept");
}
