// The system shell's Open against stand-in xdg-open scripts on PATH.
#include "platform/core/Shell.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

class SystemShellOpen : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_savedPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_dir.path()) + ":/usr/bin:/bin");
    }
    void TearDown() override { qputenv("PATH", m_savedPath); }

    // Installs an xdg-open that notes its argument, then runs `body`.
    void InstallOpener(const QByteArray& body)
    {
        QFile script(m_dir.filePath("xdg-open"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write("#!/bin/sh\nprintf '%s' \"$1\" > '" + QFile::encodeName(ArgumentFile()) + "'\n" + body + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString ArgumentFile() const { return m_dir.filePath("argument"); }
    QByteArray Argument() const
    {
        QFile file(ArgumentFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QByteArray m_savedPath;
};

TEST_F(SystemShellOpen, SucceedsOnlyWhenXdgOpenEndsWithStatusZero)
{
    const struct {
        const char* name;
        const char* body; // null: no xdg-open at all
        bool opened;
    } cases[] = {
        {"handled", "exit 0", true},
        {"no program handles the file", "exit 3", false},
        {"the program failed", "exit 4", false},
        {"killed", "kill -9 $$", false},
        {"not installed", nullptr, false},
    };
    SystemShell shell;
    const QString target = m_dir.filePath("Report 1.pdf");
    for (const auto& c : cases) {
        QFile::remove(m_dir.filePath("xdg-open"));
        QFile::remove(ArgumentFile());
        if (c.body)
            InstallOpener(c.body);
        EXPECT_EQ(shell.execute({ShellRequest::Kind::Open, target, {}}), c.opened) << c.name;
        if (c.body)
            EXPECT_EQ(Argument(), QFile::encodeName(target)) << c.name;
    }
}

// Without a desktop environment xdg-open runs the viewer itself and ends with it.
TEST_F(SystemShellOpen, AnOpenerStillRunningCountsAsOpenedAndIsLeftRunning)
{
    const QByteArray release = QFile::encodeName(m_dir.filePath("release"));
    const QByteArray ended = QFile::encodeName(m_dir.filePath("ended"));
    ASSERT_EQ(mkfifo(release.constData(), 0600), 0);
    InstallOpener("read line < '" + release + "'\ntouch '" + ended + "'");

    SystemShell shell(100);
    EXPECT_TRUE(shell.execute({ShellRequest::Kind::Open, m_dir.filePath("a.pdf"), {}}));
    EXPECT_FALSE(QFile::exists(QFile::decodeName(ended)));

    // A pipe opens for writing without waiting only while a reader has it open: the
    // opener is still alive and waiting.
    QDeadlineTimer deadline(5000);
    int pipe = -1;
    while ((pipe = ::open(release.constData(), O_WRONLY | O_NONBLOCK)) < 0 && errno == ENXIO && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_GE(pipe, 0);
    ASSERT_EQ(::write(pipe, "\n", 1), 1);
    ::close(pipe);
    while (!QFile::exists(QFile::decodeName(ended)) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(QFile::exists(QFile::decodeName(ended)));
}

} // namespace
