#include "pdfprinter/converter/ConvertJob.h"
#include "components/printjob/SpoolData.h"
#include "pdfprinter/converter/PrinterConverterApp.h"
#include "pdfprinter/converter/PrinterConverterDlg.h"
#include "pdfprinter/converter/tests/ConverterTestSupport.h"
#include "platform/core/MessageBox.h"
#include "platform/core/NamedEvent.h"
#include "platform/core/NamedSharedMemory.h"
#include "platform/core/SpoolJobs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstring>

namespace {

class ConverterApp : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(convertertest::InstallPrinter());
        ASSERT_TRUE(m_event.create(ConvertJobEventName()));
    }

    // Leaves a job block in shared memory, as the starter does.
    void handOver(const _tagCONVERT_JOB& job)
    {
        ASSERT_TRUE(m_mapping.create(ConvertJobSharedMemoryName(), sizeof job));
        std::memcpy(m_mapping.data(), &job, sizeof job);
    }

    platform::NamedEvent m_event;
    platform::NamedSharedMemory m_mapping;
    platform::ScriptedMessageBoxes m_boxes;
    platform::ScopedMessageBoxBackend m_scope {&m_boxes};
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ConverterApp, WithoutSharedMemoryItSaysSoAndStillSetsTheEvent)
{
    CPrinterConverterApp app;
    EXPECT_FALSE(app.InitInstance({"/X"}));
    ASSERT_EQ(m_boxes.asked().size(), 1);
    EXPECT_EQ(m_boxes.asked()[0].text,
              "인쇄할 문서 정보에 오류가 있거나, 인쇄 도중 오류가 발생하였습니다.\n\n다시 인쇄를 시도해 보십시오.");
    EXPECT_EQ(m_boxes.asked()[0].caption, "Corvel PDF");
    EXPECT_EQ(m_boxes.asked()[0].icon, platform::MessageIcon::Error);
    EXPECT_TRUE(m_event.isSignalled());
    EXPECT_EQ(app.Job(), nullptr);
}

TEST_F(ConverterApp, CancelledSaveAsEndsAndTheJobIsRemovedAtExit)
{
    const quint32 jobId = platform::AddSpoolJob("Corvel PDF", "a.txt", "data", 1);
    ASSERT_NE(jobId, 0u);
    _tagCONVERT_JOB job {};
    SetJobText(job.szPrinterName, "Corvel PDF");
    job.dwJobId = jobId;
    SetJobText(job.szDocumentName, "a.txt");
    handOver(job);
    {
        CPrinterConverterApp app;
        int asked = 0;
        app.SetSaveAsPrompt([&](const SaveAsDialogRequest& request, QString*) {
            EXPECT_EQ(request.fileName, "a.pdf");
            ++asked;
            return false;
        });
        EXPECT_FALSE(app.InitInstance({"/S"}));
        EXPECT_EQ(asked, 1);
        EXPECT_TRUE(m_event.isSignalled());
        ASSERT_NE(app.Job(), nullptr);
        EXPECT_TRUE(convertertest::QueuedJobs().contains(jobId));
    }
    EXPECT_FALSE(convertertest::QueuedJobs().contains(jobId));
    EXPECT_TRUE(m_boxes.asked().isEmpty());
}

TEST_F(ConverterApp, SilentModeEndsWhenTheOutputCannotBeWritten)
{
    const quint32 jobId = platform::AddSpoolJob("Corvel PDF", "a.txt", "data", 1, 0);
    _tagCONVERT_JOB job {};
    SetJobText(job.szPrinterName, "Corvel PDF");
    job.dwJobId = jobId;
    SetJobText(job.szOutputPath, m_dir.filePath("no/such/folder/a.pdf"));
    handOver(job);
    {
        CPrinterConverterApp app;
        EXPECT_FALSE(app.InitInstance({"/X"}));
        EXPECT_EQ(app.DialogResult(), 0); // no dialog ran
        EXPECT_FALSE(app.Converted());
    }
    EXPECT_EQ(m_boxes.asked().size(), 1);
    EXPECT_FALSE(convertertest::QueuedJobs().contains(jobId));
}

TEST_F(ConverterApp, SaveAsConvertsToTheChosenFileInTheWindow)
{
    const QList<QByteArray> pages {convertertest::TextPage({"Saved-page"})};
    const quint32 jobId = platform::AddSpoolJob("Corvel PDF", "Microsoft Word - Saved.doc",
                                                printjob::MakeSpoolData("Saved.doc", pages), 1);
    _tagCONVERT_JOB job {};
    SetJobText(job.szPrinterName, "Corvel PDF");
    job.dwJobId = jobId;
    SetJobText(job.szOutputPath, m_dir.filePath("given-by-the-starter.pdf"));
    SetJobText(job.szDocumentName, "Microsoft Word - Saved.doc");
    handOver(job);
    const QString chosen = m_dir.filePath("chosen.pdf");

    // Plays the user: closes the window once it shows the finished conversion.
    bool sawVisibleWindow = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dlg = qobject_cast<CPrinterConverterDlg*>(window);
            if (dlg && dlg->isVisible()) {
                sawVisibleWindow = true;
                if (dlg->IsConverted())
                    dlg->OnBnClickedCancel();
            }
        }
    });
    user.start(20);
    {
        CPrinterConverterApp app;
        app.SetSaveAsPrompt([&](const SaveAsDialogRequest& request, QString* path) {
            EXPECT_EQ(request.fileName, "Saved.pdf");
            *path = chosen;
            return true;
        });
        EXPECT_FALSE(app.InitInstance({"/S"}));
        EXPECT_TRUE(app.Converted());
        EXPECT_EQ(app.DialogResult(), CPrinterConverterDlg::IDOK);
        EXPECT_EQ(JobText(app.Job()->szOutputPath), chosen);
    }
    EXPECT_TRUE(sawVisibleWindow);
    EXPECT_EQ(convertertest::PdfPageCount(chosen), 1);
    EXPECT_FALSE(QFile::exists(m_dir.filePath("given-by-the-starter.pdf")));
    EXPECT_FALSE(convertertest::QueuedJobs().contains(jobId));
}
