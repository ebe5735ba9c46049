// The backend as CUPS runs it: the real program, real PDFs, judged by poppler's tools.
#include "pdfprinter/cups/BackendJob.h"
#include "pdfprinter/cups/tests/CupsTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace cupstest;

namespace {

const QString kBackend = QStringLiteral(KVX_BIN_DIR "/cups/kvxpdf");

struct BackendRun {
    int status = -1;
    QString err;
};

class Backend : public ::testing::Test {
protected:
    BackendRun run(const QStringList& arguments, const QByteArray& input = {}, const QString& uri = QString())
    {
        QProcess backend;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DEVICE_URI", uri.isNull() ? "kvxpdf:" + m_base.path() : uri);
        backend.setProcessEnvironment(environment);
        backend.start(kBackend, arguments);
        backend.write(input);
        backend.closeWriteChannel();
        EXPECT_TRUE(backend.waitForFinished(60000));
        return {backend.exitStatus() == QProcess::NormalExit ? backend.exitCode() : -1,
                QString::fromLocal8Bit(backend.readAllStandardError())};
    }

    QString pdf(const QString& name, const QString& text)
    {
        const QString path = m_scratch.filePath(name);
        WritePdf(path, text);
        return path;
    }

    QStringList delivered(const QString& user) const
    {
        return QDir(m_base.path() + "/" + user).entryList(QDir::Files | QDir::Hidden);
    }

    QTemporaryDir m_scratch;
    OpenFolder m_base;
    QString m_user = CurrentUser();
};

} // namespace

TEST(BackendJob, FoldersAndNames)
{
    const struct {
        const char* uri;
        const char* folder;
    } folders[] = {
        {"kvxpdf:/", "/home/ann/PDF"},
        {"kvxpdf:", "/home/ann/PDF"},
        {"kvxpdf:/srv/pdf", "/srv/pdf/ann"},
        {"kvxpdf:/srv/pdf/", "/srv/pdf/ann"},
        {"kvxpdf:/srv/PDF%20files", "/srv/PDF files/ann"},
        {"kvxpdf://host/share", ""},
        {"kvxpdf:relative", ""},
        {"ipp://printer/", ""},
    };
    for (const auto& c : folders)
        EXPECT_EQ(PdfFolderFor(c.uri, "/home/ann", "ann"), QString(c.folder)) << c.uri;
    EXPECT_EQ(PdfFolderFor("kvxpdf:/", "", "ann"), "");           // no home
    EXPECT_EQ(PdfFolderFor("kvxpdf:/srv", "/home/x", "../x"), ""); // a user name is no path

    EXPECT_EQ(JobPdfName("Microsoft Word - Report.doc"), "Report.pdf");
    EXPECT_EQ(JobPdfName("Microsoft Word - Report.doc", 1), "Report(01).pdf");
    EXPECT_EQ(JobPdfName(""), "Untitled.pdf");
    EXPECT_EQ(JobPdfName("a/b?.txt"), "b_.pdf");
    const QString longName = JobPdfName(QString(200, QChar(0xD55C)) + ".txt", 12);
    EXPECT_LE(longName.toUtf8().size(), 255);
    EXPECT_TRUE(longName.endsWith("(12).pdf"));
}

TEST_F(Backend, SpeaksTheBackendProtocol)
{
    QProcess discovery;
    discovery.start(kBackend, {});
    ASSERT_TRUE(discovery.waitForFinished(30000));
    EXPECT_EQ(discovery.exitCode(), 0);
    EXPECT_EQ(discovery.readAllStandardOutput(), "direct kvxpdf:/ \"Corvel PDF\" \"Corvel PDF\"\n");

    const BackendRun usage = run({"1", "ann"});
    EXPECT_EQ(usage.status, 1);
    EXPECT_TRUE(usage.err.startsWith("Usage: ")) << qPrintable(usage.err);
}

TEST_F(Backend, AJobBecomesANamedPdfWithItsTitleAndAuthorAndNeverReplacesAnother)
{
    const QString first = pdf("in1.pdf", "First-job-text");
    const QString second = pdf("in2.pdf", "Second-job-text");
    const QString title = "Microsoft Word - 분기 보고서.doc";

    const BackendRun one = run({"7", m_user, title, "1", "", first});
    ASSERT_EQ(one.status, 0) << qPrintable(one.err);
    EXPECT_TRUE(one.err.contains("INFO: Saved as 분기 보고서.pdf")) << qPrintable(one.err);
    // From standard input, as CUPS sends the output of its filters.
    QFile in(second);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const BackendRun two = run({"8", m_user, title, "1", ""}, in.readAll());
    ASSERT_EQ(two.status, 0) << qPrintable(two.err);

    EXPECT_EQ(delivered(m_user), (QStringList {"분기 보고서(01).pdf", "분기 보고서.pdf"}));
    const QString folder = m_base.path() + "/" + m_user;
    EXPECT_TRUE(PdfText(folder + "/분기 보고서.pdf").contains("First-job-text"));
    EXPECT_TRUE(PdfText(folder + "/분기 보고서(01).pdf").contains("Second-job-text"));
    EXPECT_EQ(PdfInfo(folder + "/분기 보고서.pdf", "Title"), title);
    EXPECT_EQ(PdfInfo(folder + "/분기 보고서.pdf", "Author"), m_user);
    EXPECT_EQ(QFileInfo(folder).permissions() & (QFile::ReadOther | QFile::WriteOther), 0);
}

TEST_F(Backend, FailuresSayWhyForCupsAndLeaveNothingBehind)
{
    const QString notPdf = m_scratch.filePath("note.txt");
    QFile note(notPdf);
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.write("just some words, no PDF\n");
    note.close();
    const QString good = pdf("good.pdf", "x");

    const struct {
        const char* name;
        QStringList arguments;
        QString uri;
        const char* says;
    } cases[] = {
        {"not a PDF", {"3", m_user, "note", "1", "", notPdf}, QString(), "ERROR: the job is not a readable PDF"},
        {"no such file", {"3", m_user, "x", "1", "", m_scratch.filePath("gone.pdf")}, QString(),
         "ERROR: cannot read the job's file"},
        {"unknown user", {"3", "no-such-user-kvx", "x", "1", "", good}, QString(),
         "ERROR: the user \"no-such-user-kvx\" is not known"},
        {"a folder that cannot be made", {"3", m_user, "x", "1", "", good}, "kvxpdf:/proc/kvx", "ERROR: cannot make the folder"},
        {"a device URI of another scheme", {"3", m_user, "x", "1", "", good}, "ipp://elsewhere/", "ERROR: no PDF folder"},
    };
    for (const auto& c : cases) {
        const BackendRun result = run(c.arguments, {}, c.uri);
        EXPECT_EQ(result.status, 1) << c.name;
        EXPECT_TRUE(result.err.contains(c.says)) << c.name << ": " << qPrintable(result.err);
    }
    EXPECT_TRUE(delivered(m_user).isEmpty()) << qPrintable(delivered(m_user).join(", "));
}

TEST_F(Backend, RunAsRootItWorksAsTheJobsUser)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root, as CUPS runs the backend";
    const passwd* nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    const QString input = m_base.path() + "/in.pdf"; // readable only as root, as CUPS's spool files are
    WritePdf(input, "Owned-text");
    ::chmod(QFile::encodeName(input).constData(), 0600);

    const BackendRun result = run({"9", "nobody", "owned.txt", "1", "", input});
    ASSERT_EQ(result.status, 0) << qPrintable(result.err);
    const QString saved = m_base.path() + "/nobody/owned.pdf";
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(saved).constData(), &info), 0);
    EXPECT_EQ(info.st_uid, nobody->pw_uid);
    ASSERT_EQ(::stat(QFile::encodeName(m_base.path() + "/nobody").constData(), &info), 0);
    EXPECT_EQ(info.st_uid, nobody->pw_uid);
    EXPECT_TRUE(PdfText(saved).contains("Owned-text"));
}
