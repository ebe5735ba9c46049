#include "pdfprinter/converter/ConvertJob.h"
#include "pdfprinter/converter/PrinterConverterDlg.h"
#include "pdfprinter/converter/tests/ConverterTestSupport.h"
#include "platform/core/MessageBox.h"
#include "platform/core/ProgressInfo.h"
#include "platform/core/Shell.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstring>

using platform::GWLP_USERDATA;
using platform::LPARAM;

namespace {

class ProgressDialog : public ::testing::Test {
protected:
    ProgressDialog()
    {
        SetJobText(m_job.szDocumentName, "Microsoft Word - Report.doc");
        SetJobText(m_job.szOutputPath, m_output);
        QFile file(m_output);
        file.open(QIODevice::WriteOnly);
        file.write("%PDF-1.4 made");
    }

    QString text(CPrinterConverterDlg& dlg, int id) const
    {
        if (auto* label = qobject_cast<QLabel*>(dlg.GetDlgItem(id)))
            return label->text();
        return qobject_cast<QPushButton*>(dlg.GetDlgItem(id))->text();
    }
    static QProgressBar* bar(CPrinterConverterDlg& dlg)
    {
        return qobject_cast<QProgressBar*>(dlg.GetDlgItem(CPrinterConverterDlg::IDC_PROGRESS));
    }
    static bool openEnabled(CPrinterConverterDlg& dlg) { return dlg.GetDlgItem(CPrinterConverterDlg::IDC_OPEN)->isEnabled(); }
    // The empty file the converter makes when the output did not exist yet.
    void makePlaceholder(CPrinterConverterDlg& dlg)
    {
        QFile(m_output).resize(0);
        dlg.SetOutputFileCreated(true);
    }
    static void notify(CPrinterConverterDlg& dlg, unsigned kind, const _tagPROGRESS_INFO* info = nullptr)
    {
        EXPECT_EQ(dlg.sendMessage(WM_CONVERT_PROGRESS, kind, reinterpret_cast<LPARAM>(info)), 1);
    }

    QTemporaryDir m_dir;
    QString m_output = m_dir.filePath("report.pdf");
    _tagCONVERT_JOB m_job {};
    platform::ScriptedMessageBoxes m_boxes;
    platform::ScopedMessageBoxBackend m_boxScope {&m_boxes};
};

} // namespace

TEST(ProgressDialogLines, NameLinesUseTheNativeSeparatorAndAreCompacted)
{
    const QString longBase = QString(60, u'b');
    const struct {
        QString documentName;
        QString outputPath;
        QString documentLine;
        QString nameLine;
        QString folderLine;
    } cases[] = {
        {"Report.doc", "/out/report.pdf", "Report.doc", "report.pdf", "/out/"},
        {"/home/me/docs/Report.doc", "report.pdf", "Report.doc", "", ""},
        {longBase + ".doc", "/out/" + longBase + ".pdf", QString(41, u'b') + "....doc", QString(41, u'b') + "....pdf",
         "/out/"},
        {"http://example.com/some/quite/long/path/to/the/page.html", "/a/b.pdf",
         "http://example.com/some/quite/l.../page.html", "b.pdf", "/a/"},
        {"C:\\docs\\notes.txt", "/home/someone/documents/projects/2026/quarterly/q.pdf", "C:\\docs\\notes.txt", "q.pdf",
         "/home/someone/documents/projec.../quarterly/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CPrinterConverterDlg::DocumentLine(c.documentName), c.documentLine) << qPrintable(c.documentName);
        EXPECT_EQ(CPrinterConverterDlg::PdfNameLine(c.outputPath), c.nameLine) << qPrintable(c.outputPath);
        EXPECT_EQ(CPrinterConverterDlg::PdfFolderLine(c.outputPath), c.folderLine) << qPrintable(c.outputPath);
    }
}

TEST_F(ProgressDialog, InteractiveRunShowsProgressAndOffersTheResult)
{
    CPrinterConverterDlg dlg(&m_job, true, nullptr);
    EXPECT_EQ(dlg.windowTitle(), "Corvel PDF");
    EXPECT_FALSE(openEnabled(dlg));

    notify(dlg, PROGRESS_BEGIN);
    EXPECT_EQ(text(dlg, CPrinterConverterDlg::IDC_DOCUMENT_NAME), "Microsoft Word - Report.doc");
    EXPECT_EQ(text(dlg, CPrinterConverterDlg::IDC_PDF_NAME), "report.pdf");
    // The folder, compacted to 44 characters around one "..." (the table above has the exact lines).
    const QString folder = m_dir.path() + "/";
    const QString folderLine = text(dlg, CPrinterConverterDlg::IDC_PDF_FOLDER);
    EXPECT_LE(folderLine.size(), 44);
    const QStringList around = folderLine.split("...");
    ASSERT_LE(around.size(), 2) << folderLine.toStdString();
    EXPECT_TRUE(folder.startsWith(around.first()) && folder.endsWith(around.last())) << folderLine.toStdString();
    EXPECT_EQ(around.size() == 1, folder.size() <= 44) << folderLine.toStdString();
    EXPECT_EQ(text(dlg, CPrinterConverterDlg::IDC_CANCEL), "취소(&C)");
    EXPECT_EQ(bar(dlg)->maximum(), 100);

    _tagPROGRESS_INFO info {10, 3, 0, 0, 40};
    notify(dlg, PROGRESS_PAGE, &info);
    EXPECT_EQ(text(dlg, CPrinterConverterDlg::IDC_STATUS), "3 / 10 페이지를 생성하고 있습니다.");
    notify(dlg, PROGRESS_PERCENT, &info);
    EXPECT_EQ(bar(dlg)->value(), 40);
    notify(dlg, PROGRESS_SAVING);
    EXPECT_EQ(text(dlg, CPrinterConverterDlg::IDC_STATUS), "변환 결과를 저장하고 있습니다.");
    notify(dlg, 77); // unknown kinds change nothing
    EXPECT_EQ(text(dlg, CPrinterConverterDlg::IDC_STATUS), "변환 결과를 저장하고 있습니다.");

    notify(dlg, PROGRESS_DONE);
    EXPECT_EQ(text(dlg, CPrinterConverterDlg::IDC_STATUS), "성공적으로 변환을 완료하였습니다.");
    EXPECT_EQ(bar(dlg)->value(), 100);
    EXPECT_TRUE(openEnabled(dlg));
    EXPECT_EQ(text(dlg, CPrinterConverterDlg::IDC_CANCEL), "닫기(&C)");
    EXPECT_FALSE(dlg.IsEnded());

    // Close after success ends with OK and keeps the PDF.
    dlg.OnBnClickedCancel();
    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.Result(), CPrinterConverterDlg::IDOK);
    EXPECT_TRUE(QFile::exists(m_output));
}

TEST_F(ProgressDialog, CancelDuringTheRunAsksTheTranscoderAndWaits)
{
    CPrinterConverterDlg dlg(&m_job, true, nullptr);
    makePlaceholder(dlg);
    notify(dlg, PROGRESS_BEGIN);
    dlg.OnBnClickedCancel();
    EXPECT_EQ(platform::GetWindowLongPtr(&dlg, GWLP_USERDATA), 1);
    EXPECT_FALSE(dlg.IsEnded());

    notify(dlg, PROGRESS_ABORT);
    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.Result(), CPrinterConverterDlg::IDCANCEL);
    EXPECT_FALSE(QFile::exists(m_output));
}

TEST_F(ProgressDialog, WithoutAJobTheDialogOnlyCloses)
{
    CPrinterConverterDlg dlg(nullptr, true, nullptr);
    EXPECT_TRUE(dlg.IsDone());
    EXPECT_FALSE(openEnabled(dlg));
    EXPECT_EQ(text(dlg, CPrinterConverterDlg::IDC_CANCEL), "닫기(&C)");
    dlg.OnBnClickedCancel();
    EXPECT_EQ(dlg.Result(), CPrinterConverterDlg::IDOK);
}

TEST_F(ProgressDialog, ADisabledOwnerIsEnabledAgain)
{
    QWidget owner;
    owner.setEnabled(false);
    CPrinterConverterDlg dlg(nullptr, true, &owner);
    EXPECT_TRUE(owner.isEnabled());
}

TEST_F(ProgressDialog, OpenHandsThePdfToTheShellOrSaysWhyNot)
{
    platform::RecordingShell shell;
    platform::ScopedShellBackend shellScope(&shell);
    CPrinterConverterDlg dlg(&m_job, true, nullptr);
    notify(dlg, PROGRESS_DONE);

    shell.setResult(false);
    dlg.OnBnClickedOpen();
    ASSERT_EQ(m_boxes.asked().size(), 1);
    EXPECT_EQ(m_boxes.asked()[0].text, "PDF 뷰어가 설치되어 있지 않아 해당 문서를 열 수 없습니다.");
    EXPECT_EQ(m_boxes.asked()[0].caption, "Corvel PDF");
    EXPECT_EQ(m_boxes.asked()[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(m_boxes.asked()[0].owner, static_cast<const void*>(static_cast<QWidget*>(&dlg)));
    EXPECT_FALSE(dlg.IsEnded());

    shell.setResult(true);
    dlg.OnBnClickedOpen();
    ASSERT_EQ(shell.requests().size(), 2);
    EXPECT_EQ(shell.requests()[1].target, m_output);
    EXPECT_EQ(dlg.Result(), CPrinterConverterDlg::IDOK);

    QFile::remove(m_output);
    CPrinterConverterDlg again(&m_job, true, nullptr);
    notify(again, PROGRESS_DONE);
    again.OnBnClickedOpen();
    ASSERT_EQ(m_boxes.asked().size(), 2);
    EXPECT_EQ(m_boxes.asked()[1].text, "해당 문서가 존재하지 않습니다.");
    EXPECT_FALSE(again.IsEnded());
    EXPECT_EQ(shell.requests().size(), 2);
}

TEST_F(ProgressDialog, TheCaptionFlashesTwentyOneTimesWhileInactive)
{
    CPrinterConverterDlg dlg(&m_job, true, nullptr);
    dlg.OnActivate(CPrinterConverterDlg::WA_INACTIVE);
    dlg.StartFlashing();
    EXPECT_TRUE(dlg.IsFlashTimerActive());
    for (int tick = 0; tick < 30 && dlg.IsFlashTimerActive(); ++tick)
        dlg.OnTimer(CPrinterConverterDlg::TIMER_FLASH);
    EXPECT_EQ(dlg.CaptionToggleCount(), 21);
    EXPECT_FALSE(dlg.IsFlashTimerActive());
    EXPECT_EQ(dlg.FlashCount(), 0u);
}

TEST_F(ProgressDialog, ActivationStopsTheFlashingAtOnce)
{
    CPrinterConverterDlg dlg(&m_job, true, nullptr);
    dlg.OnActivate(CPrinterConverterDlg::WA_INACTIVE);
    dlg.StartFlashing();
    dlg.OnTimer(CPrinterConverterDlg::TIMER_FLASH);
    dlg.OnTimer(CPrinterConverterDlg::TIMER_FLASH);
    dlg.OnActivate(CPrinterConverterDlg::WA_CLICKACTIVE);
    EXPECT_FALSE(dlg.IsFlashTimerActive());
    EXPECT_EQ(dlg.CaptionToggleCount(), 2);
}

TEST_F(ProgressDialog, SilentDialogNeverShowsAndRelaysEveryNotification)
{
    convertertest::NotificationWindow starter;
    m_job.hNotifyWnd = starter.handle();
    CPrinterConverterDlg dlg(&m_job, false, nullptr);
    dlg.show();
    EXPECT_FALSE(dlg.isVisible());

    _tagPROGRESS_INFO info {3, 2, 7, 8, 50};
    notify(dlg, PROGRESS_BEGIN);
    notify(dlg, PROGRESS_PAGE, &info);
    EXPECT_FALSE(dlg.IsEnded());
    notify(dlg, PROGRESS_DONE, &info);
    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.Result(), CPrinterConverterDlg::IDCANCEL);
    EXPECT_TRUE(QFile::exists(m_output)); // DONE keeps the PDF
    EXPECT_FALSE(dlg.isVisible());

    const QList<platform::CopyDataMessage> relayed = starter.messages();
    ASSERT_EQ(relayed.size(), 3);
    EXPECT_EQ(relayed[0].dataWord, quint64(PROGRESS_BEGIN));
    EXPECT_TRUE(relayed[0].bytes.isEmpty());
    EXPECT_EQ(relayed[1].dataWord, quint64(PROGRESS_PAGE));
    EXPECT_EQ(relayed[2].dataWord, quint64(PROGRESS_DONE));
    EXPECT_EQ(relayed[2].bytes, QByteArray(reinterpret_cast<const char*>(&info), sizeof info));
    EXPECT_EQ(relayed[2].sender, dlg.WindowHandleValue());
}

TEST_F(ProgressDialog, SilentAbortDeletesTheOutputEvenWithNobodyListening)
{
    m_job.hNotifyWnd = 0;
    CPrinterConverterDlg dlg(&m_job, false, nullptr);
    makePlaceholder(dlg);
    notify(dlg, PROGRESS_ABORT);
    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_FALSE(QFile::exists(m_output));
}

TEST_F(ProgressDialog, AnAbortLeavesAFileThatWasThereBefore)
{
    m_job.hNotifyWnd = 0;
    for (const bool interactive : {true, false}) {
        CPrinterConverterDlg dlg(&m_job, interactive, nullptr);
        notify(dlg, PROGRESS_BEGIN);
        notify(dlg, PROGRESS_ABORT);
        EXPECT_TRUE(dlg.IsEnded()) << interactive;
        QFile file(m_output);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << interactive;
        EXPECT_EQ(file.readAll(), "%PDF-1.4 made") << interactive;
    }
}

TEST_F(ProgressDialog, AnUnreadableJobIsReportedAndEndsTheDialog)
{
    CPrinterConverterDlg interactive(&m_job, true, nullptr);
    makePlaceholder(interactive);
    interactive.OnJobUnreadable();
    ASSERT_EQ(m_boxes.asked().size(), 1);
    EXPECT_EQ(m_boxes.asked()[0].text,
              "인쇄할 문서 정보에 오류가 있거나, 인쇄 도중 오류가 발생하였습니다.\n\n다시 인쇄를 시도해 보십시오.");
    EXPECT_TRUE(interactive.IsEnded());
    EXPECT_FALSE(QFile::exists(m_output));

    convertertest::NotificationWindow starter;
    m_job.hNotifyWnd = starter.handle();
    CPrinterConverterDlg silent(&m_job, false, nullptr);
    silent.OnJobUnreadable();
    EXPECT_EQ(m_boxes.asked().size(), 1); // silent: no box
    EXPECT_TRUE(silent.IsEnded());
    ASSERT_EQ(starter.messages().size(), 1);
    EXPECT_EQ(starter.messages()[0].dataWord, quint64(PROGRESS_ABORT));
}
