#include "components/printjob/SpoolData.h"
#include "pdfprinter/converter/ConversionRun.h"
#include "pdfprinter/converter/ConvertJob.h"
#include "pdfprinter/converter/PrinterConverterDlg.h"
#include "pdfprinter/converter/tests/ConverterTestSupport.h"
#include "platform/core/DocumentInfo.h"
#include "platform/core/MessageBox.h"
#include "platform/core/SpoolJobs.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <cstring>

namespace {

class ConversionRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(convertertest::InstallPrinter());
        SetJobText(m_job.szPrinterName, "Corvel PDF");
        SetJobText(m_job.szDocumentName, "run.txt");
        SetJobText(m_job.szOutputPath, m_output);
        QFile file(m_output);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)); // as the output check leaves a new path
    }

    void queue(int pages)
    {
        QList<QByteArray> metafiles;
        for (int i = 1; i <= pages; ++i)
            metafiles.append(convertertest::TextPage({QStringLiteral("Run-page-%1").arg(i)}));
        m_job.dwJobId = platform::AddSpoolJob("Corvel PDF", "run.txt", printjob::MakeSpoolData("run.txt", metafiles));
        ASSERT_NE(m_job.dwJobId, 0u);
    }

    QTemporaryDir m_dir;
    QString m_output = m_dir.filePath("run.pdf");
    _tagCONVERT_JOB m_job {};
    platform::ScriptedMessageBoxes m_boxes;
    platform::ScopedMessageBoxBackend m_scope {&m_boxes};
};

} // namespace

TEST(DocumentInfo, CarriesTheBlockTheUserAndTheOptions)
{
    _tagCONVERT_JOB job {};
    SetJobText(job.szOutputPath, "/out/a.pdf");
    SetJobText(job.szDocumentName, "a.doc");
    for (int i = 0; i < 6; ++i)
        job.dwDocOptions[i] = 0x11111111u * unsigned(i + 1);
    std::memset(job.szPrinterName, 0x41, sizeof job.szPrinterName); // never copied

    _tagDOCUMENT_INFO info;
    std::memset(&info, 0xCC, sizeof info);
    FillDocumentInfo(job, "editor", &info);

    const auto* bytes = reinterpret_cast<const unsigned char*>(&info);
    EXPECT_EQ(JobText(info.szOutputPath), "/out/a.pdf");
    EXPECT_EQ(JobText(info.szDocumentName), "a.doc");
    EXPECT_EQ(JobText(info.szUserName), "editor");
    EXPECT_EQ(std::memcmp(bytes + 5184, job.dwDocOptions, 24), 0);
    for (std::size_t at = 3088; at < 5184; ++at)
        ASSERT_EQ(bytes[at], 0) << at;
    EXPECT_EQ(bytes[2048 + 10], 0); // after "a.doc" the field is zero-filled
}

TEST(JobPrinterName, NamesTheJobOrNothingWhenItWouldBeCut)
{
    _tagCONVERT_JOB job {};
    SetJobText(job.szPrinterName, "Corvel PDF");
    job.dwJobId = 42;
    EXPECT_EQ(JobPrinterName(job), "Corvel PDF,Job 42");
    SetJobText(job.szPrinterName, QString(255, u'p'));
    EXPECT_TRUE(JobPrinterName(job).isEmpty());
}

TEST_F(ConversionRun, AnInteractiveRunEndsFinishedWithTheJobDeleted)
{
    ASSERT_NO_FATAL_FAILURE(queue(2));
    CPrinterConverterDlg dlg(&m_job, true, nullptr);
    dlg.OnTimer(CPrinterConverterDlg::TIMER_CONVERT);

    EXPECT_TRUE(dlg.IsConverted());
    EXPECT_FALSE(dlg.IsEnded()); // waits for Close or Open
    EXPECT_TRUE(dlg.GetDlgItem(CPrinterConverterDlg::IDC_OPEN)->isEnabled());
    EXPECT_EQ(qobject_cast<QLabel*>(dlg.GetDlgItem(CPrinterConverterDlg::IDC_STATUS))->text(),
              "성공적으로 변환을 완료하였습니다.");
    EXPECT_TRUE(dlg.IsFlashTimerActive());
    EXPECT_EQ(convertertest::PdfPageCount(m_output), 2);
    EXPECT_FALSE(convertertest::QueuedJobs().contains(m_job.dwJobId));
}

TEST_F(ConversionRun, ACancelledRunAbortsDeletesTheOutputAndStillDeletesTheJob)
{
    ASSERT_NO_FATAL_FAILURE(queue(3));
    CPrinterConverterDlg dlg(&m_job, true, nullptr);
    dlg.SetOutputFileCreated(true);
    dlg.OnBnClickedCancel(); // clicked before the first page was made
    dlg.OnTimer(CPrinterConverterDlg::TIMER_CONVERT);

    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_EQ(dlg.Result(), CPrinterConverterDlg::IDCANCEL);
    EXPECT_FALSE(dlg.IsConverted());
    EXPECT_FALSE(QFile::exists(m_output));
    EXPECT_FALSE(convertertest::QueuedJobs().contains(m_job.dwJobId));
}

TEST_F(ConversionRun, AJobThatCannotBeOpenedIsReportedInTheWindow)
{
    m_job.dwJobId = 99999;
    CPrinterConverterDlg dlg(&m_job, true, nullptr);
    dlg.SetOutputFileCreated(true);
    dlg.OnTimer(CPrinterConverterDlg::TIMER_CONVERT);
    ASSERT_EQ(m_boxes.asked().size(), 1);
    EXPECT_TRUE(m_boxes.asked()[0].text.startsWith("인쇄할 문서 정보에 오류가 있거나"));
    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_FALSE(QFile::exists(m_output));
}
