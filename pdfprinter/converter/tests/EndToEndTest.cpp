// The starter and the converter as a person runs them: real programs, real spooler jobs,
// real PDFs checked with poppler's tools.
#include "components/printjob/PrintJobStarter.h"
#include "pdfprinter/converter/tests/ConverterTestSupport.h"
#include "pdfprinter/converter/tests/SpoolStream.h"
#include "platform/core/NamedEvent.h"
#include "platform/core/SpoolJobs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

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
    options.converterPath = QStringLiteral(KVX_BIN_DIR) + "/KVXE2PPRCONV";
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
    options.converterPath = QStringLiteral(KVX_BIN_DIR) + "/KVXE2PPRCONV";
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);

    EXPECT_EQ(printjob::ConvertPrintJob(987654, options, outStream, errStream), printjob::ExitFailed);
    EXPECT_EQ(kinds(parseNotifications(out)), QList<int> {5});
    EXPECT_FALSE(QFile::exists(m_output)); // the file made for the run does not stay behind
}

TEST_F(EndToEnd, SilentModeEmptiesAnExistingOutputFirst)
{
    {
        QFile old(m_output);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray("an older document ").repeated(1000));
    }
    // A second name for the same file shows what happened to it, even once the finished PDF
    // has taken the output name.
    const QString witness = m_dir.filePath("witness");
    ASSERT_EQ(::link(QFile::encodeName(m_output).constData(), QFile::encodeName(witness).constData()), 0);
    const QString page = writePage("1.emf", convertertest::TextPage({"Fresh-page"}));

    ASSERT_EQ(runStarter({"--silent", "--output", m_output, page}), 0) << qPrintable(m_stderr);

    EXPECT_EQ(QFileInfo(witness).size(), 0);
    EXPECT_EQ(convertertest::PdfPageCount(m_output), 1);
    EXPECT_TRUE(convertertest::PdfText(m_output).contains("Fresh-page"));
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
    const QString text = writePage("notes.txt", lines.join('\n').toUtf8());

    ASSERT_EQ(runStarter({"--output", m_output, "--text", text}), 0) << qPrintable(m_stderr);

    EXPECT_EQ(convertertest::PdfPageCount(m_output), 2);
    const QString pdfText = convertertest::PdfText(m_output);
    EXPECT_TRUE(pdfText.contains("line-01 keeps its words apart")) << qPrintable(pdfText.left(200));
    EXPECT_TRUE(pdfText.contains("line-60"));
}
