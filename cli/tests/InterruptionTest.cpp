// lindar-cli told to stop while it works: it removes its work folder, its lock and its
// temporary archive, leaves the target as it was, and says so with status 128 + signal.
#include "package/ePubContainerFormat.h"
#include "package/tests/ArchiveBuilder.h"
#include "package/tests/TestBooks.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

TEST(LindarCliInterruption, EachStopSignalCleansUpAndLeavesTheTarget)
{
    QTemporaryDir books;
    ASSERT_TRUE(books.isValid());
    // Enough members that unpacking outlasts the wait for its first file.
    ArchiveBuilder book;
    book.addEpubFrame().add("OEBPS/content.opf", testbooks::kPackage);
    for (int i = 0; i < 20000; ++i)
        book.add(QStringLiteral("OEBPS/text/f%1.xhtml").arg(i), "<html/>");
    const QString source = books.filePath("big.epub");
    const QString target = books.filePath("target.epub");
    ASSERT_TRUE(book.write(source));
    const QByteArray earlier = "the earlier book";
    const QString base = CePubContainerFormat::GetWorkFolderBase(true);

    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        ASSERT_TRUE(testbooks::writeFile(target, earlier));
        QProcess process;
        process.start(QStringLiteral(KVX_BIN_DIR "/lindar-cli"), {"resave", source, target});
        ASSERT_TRUE(process.waitForStarted());
        // Told to stop once it is unpacking.
        const QDeadlineTimer deadline(60000);
        while (!QFileInfo::exists(base + "/big/mimetype") && !deadline.hasExpired()
               && process.state() == QProcess::Running)
            QThread::msleep(2);
        ASSERT_EQ(process.state(), QProcess::Running);
        ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 128 + signal);
        EXPECT_TRUE(process.readAllStandardError().contains("stopped by signal"));
        EXPECT_EQ(QDir(base).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{});
        EXPECT_EQ(QDir(books.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"big.epub", "target.epub"}));
        EXPECT_EQ(testbooks::readFile(target), earlier);
    }
}
