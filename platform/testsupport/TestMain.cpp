// Shared main() for the test executables. Each run gets fresh per-user folders so that
// tests never touch the real profile, work folders or platform state.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

#ifdef KVX_TEST_GUI
#include <QApplication>
#endif

namespace {

void pointAt(QTemporaryDir& root, const char* variable, const QString& name)
{
    const QString path = root.filePath(name);
    QDir().mkpath(path);
    qputenv(variable, QFile::encodeName(path));
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir root(QDir::tempPath() + "/kvx-test-XXXXXX");
    if (!root.isValid())
        return 3;
    pointAt(root, "XDG_DATA_HOME", "data");
    pointAt(root, "XDG_CONFIG_HOME", "config");
    pointAt(root, "XDG_CACHE_HOME", "cache");
    pointAt(root, "KVX_PLATFORM_ROOT", "platform");
    pointAt(root, "TMPDIR", "tmp");
    qputenv("KVX_TEST_ROOT", QFile::encodeName(root.path()));
    // No test reaches the machine's print server; those that need one start their own.
    qputenv("CUPS_SERVER", QFile::encodeName(root.filePath("no-cups.sock")));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    ::testing::InitGoogleTest(&argc, argv);
#ifdef KVX_TEST_GUI
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
