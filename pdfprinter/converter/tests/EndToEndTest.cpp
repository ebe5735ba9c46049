// The starter and the converter as a person runs them: real programs, real spooler jobs,
// real PDFs checked with poppler's tools.
#include "components/printjob/PrintJobStarter.h"
#include "pdfprinter/converter/tests/ConverterTestSupport.h"
#include "pdfprinter/converter/tests/SpoolStream.h"
#include "platform/core/NamedEvent.h"
#include "platform/core/SpoolJobs.h"
#include "platform/core/Spooler.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>
#include <unistd.h>
#include <utility>

namespace {

struct Notification {
    int kind = -1;
    int total = 0;
    int current = 0;
    int percent = 0;
};

QList<Notification> parseNotifications(const QString& output)
{
    QList<Notification> notifications;
    for (const QString& line : output.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u' ');
        EXPECT_EQ(fields.size(), 5) << qPrintable(line);
        EXPECT_EQ(fields.value(0), "NOTIFY") << qPrintable(line);
        if (fields.size() == 5)
            notifications.append({fields[1].toInt(), fields[2].toInt(), fields[3].toInt(), fields[4].toInt()});
    }
    return notifications;
}

QList<int> kinds(const QList<Notification>& notifications)
{
    QList<int> result;
    for (const Notification& n : notifications)
        result.append(n.kind);
    return result;
}

QList<int> pageNumbers(const QList<Notification>& notifications)
{
    QList<int> pages;
    for (const Notification& n : notifications) {
        if (n.kind == 1)
            pages.append(n.current);
    }
    return pages;
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(convertertest::InstallPrinter());
        qputenv("KVX_MESSAGE_BOXES", "stderr"); // nobody is there to click
    }

    QString writePage(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // Runs kvx-printjob; returns its exit code.
    int runStarter(const QStringList& arguments)
    {
        QProcess starter;
        starter.start(QStringLiteral(KVX_BIN_DIR) + "/kvx-printjob", arguments);
        EXPECT_TRUE(starter.waitForFinished(120000));
        m_stdout = QString::fromUtf8(starter.readAllStandardOutput());
        m_stderr = QString::fromUtf8(starter.readAllStandardError());
        return starter.exitStatus() == QProcess::NormalExit ? starter.exitCode() : -1;
    }

    QTemporaryDir m_dir;
    QString m_output = m_dir.filePath("out.pdf");
    QString m_stdout;
    QString m_stderr;
};

} // namespace

TEST_F(EndToEnd, ASilentThreePageJobBecomesAThreePagePdf)
{
    const QList<quint32> before = convertertest::QueuedJobs();
    const QString p1 = writePage("1.emf", convertertest::TextPage({"Alpha-page", "first"}));
    const QString p2 = writePage("2.emf", convertertest::TextPage({"Bravo-page"}));
    const QString p3 = writePage("3.emf", convertertest::TextPage({"Charlie-page"}));

    ASSERT_EQ(runStarter({"--silent", "--output", m_output, "--document-name", "Quarterly report.doc", p1, p2, p3}), 0)
        << qPrintable(m_stderr);

    const QList<Notification> notifications = parseNotifications(m_stdout);
    ASSERT_FALSE(notifications.isEmpty());
    EXPECT_EQ(notifications.constFirst().kind, 0);
    EXPECT_EQ(notifications.constLast().kind, 4);
    EXPECT_EQ(kinds(notifications).count(4), 1);
    EXPECT_FALSE(kinds(notifications).contains(5));
    EXPECT_TRUE(kinds(notifications).contains(3));
    EXPECT_EQ(pageNumbers(notifications), (QList<int> {1, 2, 3}));
    for (const Notification& n : notifications) {
        if (n.kind == 1)
            EXPECT_EQ(n.total, 3); // the starter announced three pages
    }
    EXPECT_EQ(notifications.constLast().percent, 100);

    EXPECT_EQ(convertertest::PdfPageCount(m_output), 3);
    const QString text = convertertest::PdfText(m_output);
    const qsizetype alpha = text.indexOf("Alpha-page");
    const qsizetype bravo = text.indexOf("Bravo-page");
    const qsizetype charlie = text.indexOf("Charlie-page");
    EXPECT_GE(alpha, 0) << qPrintable(text);
    EXPECT_GT(bravo, alpha);
    EXPECT_GT(charlie, bravo);
    EXPECT_EQ(convertertest::QueuedJobs(), before); // the job is gone
}

TEST_F(EndToEnd, EmptyAndBrokenPagesAreSkippedWithoutANumber)
{
    const QString p1 = writePage("1.emf", convertertest::TextPage({"Alpha-page"}));
    const QString empty = writePage("empty.emf", {});
    const QString broken = writePage("broken.emf", QByteArray("this is not a metafile at all").repeated(4));
    const QString p2 = writePage("2.emf", convertertest::TextPage({"Bravo-page"}));

    ASSERT_EQ(runStarter({"--silent", "--output", m_output, p1, empty, broken, p2}), 0) << qPrintable(m_stderr);

    EXPECT_EQ(pageNumbers(parseNotifications(m_stdout)), (QList<int> {1, 2}));
    EXPECT_EQ(convertertest::PdfPageCount(m_output), 2);
    const QString text = convertertest::PdfText(m_output);
    EXPECT_GT(text.indexOf("Bravo-page"), text.indexOf("Alpha-page"));
}

TEST_F(EndToEnd, AJobWithoutPagesBeginsAndEndsWithNoPage)
{
    const quint32 jobId = platform::AddSpoolJob(
        printjob::PrinterName(), "nothing.txt",
        SpoolStream().opening("no pages here").record(13, QByteArray(8, '\0')).record(14, {}).record(3, "xyz").bytes());
    ASSERT_NE(jobId, 0u);
    printjob::StartOptions options;
    options.outputPath = m_output;
    options.documentName = "nothing.txt";
    options.converterPath = convertertest::ConverterPath();
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);

    EXPECT_EQ(printjob::ConvertPrintJob(jobId, options, outStream, errStream), printjob::ExitFailed);

    const QList<int> seen = kinds(parseNotifications(out));
    ASSERT_FALSE(seen.isEmpty()) << qPrintable(err);
    EXPECT_EQ(seen.constFirst(), 0);   // BeginDocument was called
    EXPECT_FALSE(seen.contains(1));    // no page
    EXPECT_EQ(seen.constLast(), 5);    // EndDocument has nothing to write
    EXPECT_FALSE(QFile::exists(m_output));
    EXPECT_FALSE(convertertest::QueuedJobs().contains(jobId));
}

TEST_F(EndToEnd, AJobTheSpoolerDoesNotKnowEndsWithAnAbort)
{
    printjob::StartOptions options;
    options.outputPath = m_output;
    options.documentName = "ghost.txt";
    options.converterPath = convertertest::ConverterPath();
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);

    EXPECT_EQ(printjob::ConvertPrintJob(987654, options, outStream, errStream), printjob::ExitFailed);
    EXPECT_EQ(kinds(parseNotifications(out)), QList<int> {5});
    EXPECT_FALSE(QFile::exists(m_output)); // the file made for the run does not stay behind
}

TEST_F(EndToEnd, AnExistingOutputIsReplacedOnlyByAFinishedPdf)
{
    const QByteArray older = QByteArray("an older document ").repeated(1000);
    {
        QFile old(m_output);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(older);
    }
    // A second name for the same file shows what happened to it, even once the finished PDF
    // has taken the output name.
    const QString witness = m_dir.filePath("witness");
    ASSERT_EQ(::link(QFile::encodeName(m_output).constData(), QFile::encodeName(witness).constData()), 0);
    const QString broken = writePage("broken.emf", QByteArray("this is not a metafile at all").repeated(4));
    const QString page = writePage("1.emf", convertertest::TextPage({"Fresh-page"}));

    // A job whose every page is rejected says why and leaves the file alone.
    EXPECT_EQ(runStarter({"--silent", "--output", m_output, broken, broken}), 1);
    EXPECT_TRUE(m_stderr.contains("no PDF was written to " + m_output)) << qPrintable(m_stderr);
    EXPECT_TRUE(m_stderr.contains("none of the job's 2 pages is an enhanced metafile")) << qPrintable(m_stderr);
    EXPECT_EQ(kinds(parseNotifications(m_stdout)).constLast(), 5);
    QFile kept(m_output);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), older);
    kept.close();

    ASSERT_EQ(runStarter({"--silent", "--output", m_output, page}), 0) << qPrintable(m_stderr);
    EXPECT_EQ(QFileInfo(witness).size(), older.size()); // never emptied, only replaced
    EXPECT_EQ(convertertest::PdfPageCount(m_output), 1);
    EXPECT_TRUE(convertertest::PdfText(m_output).contains("Fresh-page"));
    EXPECT_TRUE(QDir(m_dir.path()).entryList({"out.pdf.*"}, QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(EndToEnd, AConverterToldToStopLeavesTheOutputAsItWas)
{
    {
        QFile old(m_output);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older document");
    }
    QStringList lines;
    for (int i = 0; i < 5000; ++i)
        lines.append(QStringLiteral("line %1 of a long text").arg(i));
    const QString text = writePage("long.txt", lines.join('\n').toUtf8());
    QProcess starter;
    starter.start(QStringLiteral(KVX_BIN_DIR) + "/kvx-printjob", {"--output", m_output, "--text", text});
    QByteArray said;
    while (!said.contains("NOTIFY 1 ") && starter.waitForReadyRead(60000))
        said += starter.readAllStandardOutput();
    ASSERT_TRUE(said.contains("NOTIFY 1 ")) << said.constData();

    // The converter is the starter's child; stop it as a session's end or kill(1) would.
    pid_t converter = 0;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        QFile stat("/proc/" + entry + "/stat");
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray fields = stat.readAll();
        const QList<QByteArray> rest = fields.mid(fields.lastIndexOf(')') + 2).split(' ');
        if (rest.size() > 1 && rest[1].toLongLong() == starter.processId())
            converter = pid_t(entry.toInt());
    }
    ASSERT_NE(converter, 0);
    ASSERT_EQ(::kill(converter, SIGTERM), 0);
    ASSERT_TRUE(starter.waitForFinished(60000));

    EXPECT_EQ(starter.exitCode(), 1);
    EXPECT_TRUE(starter.readAllStandardError().contains("cancelled"));
    QFile kept(m_output);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "an older document");
    EXPECT_EQ(QDir(m_dir.path()).entryList({"out.pdf*"}, QDir::Files | QDir::Hidden), QStringList {"out.pdf"});
    EXPECT_TRUE(convertertest::QueuedJobs().isEmpty());
}

TEST_F(EndToEnd, TwoStartersAtOnceBothMakeTheirPdfs)
{
    const QString p1 = writePage("1.emf", convertertest::TextPage({"First-job"}));
    const QString p2 = writePage("2.emf", convertertest::TextPage({"Second-job"}));
    const QString out1 = m_dir.filePath("first.pdf");
    const QString out2 = m_dir.filePath("second.pdf");
    QProcess first;
    QProcess second;
    first.start(QStringLiteral(KVX_BIN_DIR) + "/kvx-printjob", {"--output", out1, p1, p1});
    second.start(QStringLiteral(KVX_BIN_DIR) + "/kvx-printjob", {"--output", out2, p2});
    ASSERT_TRUE(first.waitForFinished(120000));
    ASSERT_TRUE(second.waitForFinished(120000));

    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().constData();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().constData();
    EXPECT_EQ(convertertest::PdfPageCount(out1), 2);
    EXPECT_TRUE(convertertest::PdfText(out1).contains("First-job"));
    EXPECT_EQ(convertertest::PdfPageCount(out2), 1);
    EXPECT_TRUE(convertertest::PdfText(out2).contains("Second-job"));
    EXPECT_TRUE(convertertest::QueuedJobs().isEmpty());
    EXPECT_TRUE(QDir(platform::SpoolJobFolder("Corvel PDF")).entryList({"*.spl"}, QDir::Files).isEmpty());
}

TEST_F(EndToEnd, AStarterWhoseConverterCannotStartRemovesItsJob)
{
    printjob::StartOptions options;
    options.outputPath = m_output;
    options.documentName = "lost.txt";
    options.converterPath = m_dir.filePath("no-such-converter");
    quint32 pages = 0;
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const QByteArray page = convertertest::TextPage({"x"});
    bool given = false;
    const quint32 jobId = printjob::QueuePrintJob("lost.txt", [&](QByteArray* metafile, QString*) {
        *metafile = page;
        return !std::exchange(given, true);
    }, &pages, errStream);
    ASSERT_NE(jobId, 0u) << qPrintable(err);
    EXPECT_EQ(pages, 1u);
    EXPECT_EQ(printjob::ConvertPrintJob(jobId, options, outStream, errStream), printjob::ExitFailed);
    EXPECT_TRUE(err.contains("cannot start")) << qPrintable(err);
    EXPECT_FALSE(convertertest::QueuedJobs().contains(jobId));
}

TEST_F(EndToEnd, TheInstalledPrinterRunsFromItsDriverFolder)
{
    const QString converter = convertertest::ConverterPath();
    const QString transcoder = QFileInfo(converter).dir().filePath("KVXE2PT32.dll");
    ASSERT_TRUE(QFileInfo::exists(transcoder));
    const QString page = writePage("1.emf", convertertest::TextPage({"Installed-page"}));

    // Without the installed transcoder the installed converter cannot run, whatever the build has.
    ASSERT_TRUE(QFile::rename(transcoder, transcoder + ".away"));
    const int without = runStarter({"--output", m_output, page});
    ASSERT_TRUE(QFile::rename(transcoder + ".away", transcoder));
    EXPECT_EQ(without, 1);
    EXPECT_FALSE(QFile::exists(m_output));
    EXPECT_TRUE(convertertest::QueuedJobs().isEmpty());

    ASSERT_EQ(runStarter({"--output", m_output, page}), 0) << qPrintable(m_stderr);
    EXPECT_TRUE(convertertest::PdfText(m_output).contains("Installed-page"));
}

TEST_F(EndToEnd, AnOutputPathTheJobCannotHoldIsRefused)
{
    const QString page = writePage("1.emf", convertertest::TextPage({"x"}));
    const QString tooLong = m_dir.filePath(QString(1100, u'a') + ".pdf");
    EXPECT_EQ(runStarter({"--output", tooLong, page}), printjob::ExitUsage);
    EXPECT_TRUE(m_stderr.contains("longer than 1023")) << qPrintable(m_stderr);
    EXPECT_TRUE(convertertest::QueuedJobs().isEmpty());
    EXPECT_TRUE(QDir(m_dir.path()).entryList({"*.pdf"}, QDir::Files).isEmpty());
}

TEST_F(EndToEnd, WithoutTheJobBlockTheConverterSaysSoAndReleasesTheStarter)
{
    platform::NamedEvent taken;
    ASSERT_TRUE(taken.create("Global\\EVENT{9B63F701-A616-4994-A99A-EB38719733A1}"));
    QProcess converter;
    converter.start(QStringLiteral(KVX_BIN_DIR) + "/KVXE2PPRCONV", {"/X"});
    ASSERT_TRUE(converter.waitForFinished(60000));
    EXPECT_EQ(converter.exitCode(), 1);
    EXPECT_TRUE(taken.isSignalled());
    const QString said = QString::fromUtf8(converter.readAllStandardError());
    EXPECT_TRUE(said.contains(
        "Corvel PDF: 인쇄할 문서 정보에 오류가 있거나, 인쇄 도중 오류가 발생하였습니다.\n\n다시 인쇄를 시도해 보십시오."))
        << qPrintable(said);
}

TEST_F(EndToEnd, TheStarterRefusesBadArguments)
{
    const QString page = writePage("1.emf", convertertest::TextPage({"x"}));
    const QString text = writePage("notes.txt", "hello");
    const QList<QStringList> cases {
        {},
        {"--silent", "--save-as", page},
        {"--text", text, page},
        {"--output"},
        {"--bogus", page},
        {m_dir.filePath("missing.emf")},
    };
    for (const QStringList& arguments : cases) {
        EXPECT_EQ(runStarter(arguments), printjob::ExitUsage) << qPrintable(arguments.join(' '));
        EXPECT_TRUE(m_stdout.isEmpty());
    }
}

TEST_F(EndToEnd, TextFilesArePrintedPageByPage)
{
    QStringList lines;
    for (int i = 1; i <= 60; ++i)
        lines.append(QStringLiteral("line-%1").arg(i, 2, 10, QLatin1Char('0')));
    lines[0] += QStringLiteral(" keeps its words apart");
    // Lines wider than the page wrap where their glyphs reach the margin, not after a count.
    lines[1] += QStringLiteral(" 한글과 English가 섞인 줄 ") + QString(40, QChar(0xAC00)) + QStringLiteral(" lmnop");
    lines[2] += u' ' + QString(60, QChar(0xD55C));
    lines[40] += QStringLiteral("\fafter-feed");
    const QString text = writePage("notes.txt", lines.join('\n').toUtf8());

    ASSERT_EQ(runStarter({"--output", m_output, "--text", text}), 0) << qPrintable(m_stderr);

    EXPECT_EQ(convertertest::PdfPageCount(m_output), 2);
    QString pdfText = convertertest::PdfText(m_output);
    EXPECT_TRUE(pdfText.contains("line-01 keeps its words apart")) << qPrintable(pdfText.left(200));
    EXPECT_TRUE(pdfText.contains("line-60"));
    EXPECT_TRUE(pdfText.contains("lmnop")) << qPrintable(pdfText.left(600));
    pdfText.remove(QRegularExpression("\\s"));
    EXPECT_TRUE(pdfText.contains(QString(60, QChar(0xD55C)))) << qPrintable(pdfText.left(600));
    EXPECT_GT(pdfText.indexOf("after-feed"), pdfText.indexOf("line-41")); // on the next page
}
