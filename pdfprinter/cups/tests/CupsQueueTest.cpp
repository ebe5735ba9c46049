// The queue as applications use it: a CUPS server of the test's own, the queue pdfsetup
// adds there, jobs submitted with lp and printed from a Qt application.
#include "pdfprinter/cups/tests/CupsTestSupport.h"
#include "pdfprinter/cups/tests/PrivateCups.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace cupstest;

namespace {

const QString kQueue = QStringLiteral("Corvel_PDF");

class CupsQueue : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_cups = std::make_unique<PrivateCups>();
        if (!s_cups->problem().isEmpty())
            return;
        // For this process (Qt's print dialog and libcups) and for pdfsetup.
        qputenv("CUPS_SERVER", QFile::encodeName(s_cups->socket()));
        qputenv("CUPS_SERVERBIN", QFile::encodeName(s_cups->serverBin()));
    }
    static void TearDownTestSuite() { s_cups.reset(); }

    void SetUp() override
    {
        if (!s_cups->problem().isEmpty())
            GTEST_FAIL() << qPrintable(s_cups->problem());
    }

    static int setup(const QString& action)
    {
        QProcess pdfsetup;
        pdfsetup.start(QStringLiteral(KVX_BIN_DIR) + "/pdfsetup", {action});
        EXPECT_TRUE(pdfsetup.waitForFinished(120000));
        return pdfsetup.exitCode();
    }

    static QString setupLog()
    {
        QFile log(QDir::tempPath() + "/PrinterSetup.log");
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    QString lpstat(const QStringList& arguments) const
    {
        QString output;
        s_cups->run("lpstat", arguments, &output);
        return output;
    }

    static std::unique_ptr<PrivateCups> s_cups;
    OpenFolder m_pdfs;
    QTemporaryDir m_scratch;
};

std::unique_ptr<PrivateCups> CupsQueue::s_cups;

} // namespace

TEST_F(CupsQueue, PdfsetupAddsTheQueueThatEveryApplicationPrintsToAndRemovesIt)
{
    ASSERT_EQ(setup("/s /" + QStringLiteral(KVX_BIN_DIR)), 1);
    EXPECT_TRUE(setupLog().contains("-CUPS - AddPrinter() Corvel_PDF\n-IPP Status--0x0000 --- successful-ok"))
        << qPrintable(setupLog().right(1500));
    EXPECT_TRUE(lpstat({"-v", kQueue}).contains("device for Corvel_PDF: kvxpdf:/")) << qPrintable(lpstat({"-v"}));
    EXPECT_TRUE(lpstat({"-l", "-p", kQueue}).contains("Description: Corvel PDF"));
    struct stat backend {};
    ASSERT_EQ(::stat(QFile::encodeName(s_cups->serverBin() + "/backend/kvxpdf").constData(), &backend), 0);
    EXPECT_EQ(backend.st_mode & 0777, 0700u); // CUPS runs it as root

    // The PDFs go below a folder of the test's own instead of each user's home.
    ASSERT_EQ(s_cups->run("lpadmin", {"-p", kQueue, "-v", "kvxpdf:" + m_pdfs.path()}), 0);

    // A job from lp, as another user over the network port.
    const QString document = m_scratch.filePath("quarterly.pdf");
    WritePdf(document, "Quarterly-numbers");
    QString said;
    ASSERT_EQ(s_cups->run("lp", {"-h", QString("127.0.0.1:%1").arg(s_cups->port()), "-U", "nobody", "-d", kQueue, "-t",
                                 "Microsoft Word - Quarterly.doc", document},
                          &said),
              0)
        << qPrintable(said);
    ASSERT_TRUE(s_cups->waitUntilIdle(kQueue, 60000)) << qPrintable(s_cups->errorLog().right(3000));
    const QString fromLp = m_pdfs.path() + "/nobody/Quarterly.pdf";
    ASSERT_TRUE(QFile::exists(fromLp)) << qPrintable(s_cups->errorLog().right(3000));
    EXPECT_TRUE(PdfText(fromLp).contains("Quarterly-numbers"));
    EXPECT_EQ(PdfInfo(fromLp, "Title"), "Microsoft Word - Quarterly.doc");
    EXPECT_EQ(PdfInfo(fromLp, "Author"), "nobody");
    if (::geteuid() == 0) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(fromLp).constData(), &info), 0);
        EXPECT_EQ(info.st_uid, ::getpwnam("nobody")->pw_uid);
    }

    // A Qt application finds the queue, offers it in its print dialog, and prints to it.
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().contains(kQueue)) << qPrintable(QPrinterInfo::availablePrinterNames().join(", "));
    {
        QPrinter printer(QPrinterInfo::printerInfo(kQueue));
        QPrintDialog dialog(&printer);
        QStringList offered;
        for (const QComboBox* list : dialog.findChildren<QComboBox*>()) {
            for (int i = 0; i < list->count(); ++i)
                offered.append(list->itemText(i));
        }
        EXPECT_TRUE(offered.contains(kQueue)) << qPrintable(offered.join(", "));
    }
    {
        QPrinter printer(QPrinterInfo::printerInfo(kQueue));
        printer.setDocName("Letter from Qt");
        QPainter painter(&printer);
        painter.drawText(QPointF(100, 100), "Printed-from-Qt");
    }
    ASSERT_TRUE(s_cups->waitUntilIdle(kQueue, 60000));
    const QString fromQt = m_pdfs.path() + "/" + CurrentUser() + "/Letter from Qt.pdf";
    ASSERT_TRUE(QFile::exists(fromQt)) << qPrintable(s_cups->errorLog().right(3000));
    EXPECT_TRUE(PdfText(fromQt).contains("Printed-from-Qt"));

    // A job that cannot be kept fails alone; the queue goes on with the next.
    ASSERT_EQ(s_cups->run("lpadmin", {"-p", kQueue, "-v", "kvxpdf:/proc/kvx"}), 0);
    ASSERT_EQ(s_cups->run("lp", {"-d", kQueue, "-t", "lost", document}), 0);
    ASSERT_TRUE(s_cups->waitUntilIdle(kQueue, 60000));
    EXPECT_TRUE(s_cups->errorLog().contains("cannot make the folder /proc/kvx"));
    EXPECT_TRUE(lpstat({"-p", kQueue}).contains("enabled")) << qPrintable(lpstat({"-p", kQueue}));
    ASSERT_EQ(s_cups->run("lpadmin", {"-p", kQueue, "-v", "kvxpdf:" + m_pdfs.path()}), 0);
    ASSERT_EQ(s_cups->run("lp", {"-d", kQueue, "-t", "after.pdf", document}), 0);
    ASSERT_TRUE(s_cups->waitUntilIdle(kQueue, 60000));
    EXPECT_TRUE(QFile::exists(m_pdfs.path() + "/" + CurrentUser() + "/after.pdf"));

    ASSERT_EQ(setup("/u"), 1);
    EXPECT_TRUE(setupLog().contains("-CUPS - DeletePrinter() Corvel_PDF\n-IPP Status--0x0000 --- successful-ok"));
    EXPECT_NE(s_cups->run("lpstat", {"-p", kQueue}), 0);
}
