// The notification contract with the converter's window: the order of the kinds, the
// records they carry, cancel, and a final DONE or ABORT in every case.
#include "TranscoderTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using namespace platform;
using namespace transcodertest;

namespace {

std::vector<QByteArray> threePages()
{
    return {textPage("first page"), textPage("second page"), textPage("third page")};
}

// The kinds with consecutive PERCENT notifications folded into one.
std::vector<unsigned> folded(const std::vector<unsigned>& kinds)
{
    std::vector<unsigned> out;
    for (unsigned kind : kinds)
        if (out.empty() || !(kind == PROGRESS_PERCENT && out.back() == PROGRESS_PERCENT))
            out.push_back(kind);
    return out;
}

} // namespace

TEST(TranscoderProgress, ThreePagesReportBeginPagesSavingDone)
{
    RecordingWindow window;
    const QString pdf = outputPath("three.pdf");
    EXPECT_EQ(transcode(threePages(), pdf, window), 1);

    EXPECT_EQ(folded(window.progressKinds()),
              (std::vector<unsigned>{PROGRESS_BEGIN, PROGRESS_PAGE, PROGRESS_PERCENT, PROGRESS_PAGE, PROGRESS_PERCENT,
                                     PROGRESS_PAGE, PROGRESS_PERCENT, PROGRESS_SAVING, PROGRESS_DONE}));
    int page = 0;
    for (const RecordedMessage& m : window.messages()) {
        ASSERT_EQ(m.message, WM_CONVERT_PROGRESS);
        const bool carriesRecord = m.wParam == PROGRESS_PAGE || m.wParam == PROGRESS_PERCENT || m.wParam == PROGRESS_DONE;
        EXPECT_EQ(m.progress.has_value(), carriesRecord) << "kind " << m.wParam;
        if (m.wParam == PROGRESS_PAGE) {
            EXPECT_EQ(m.progress->nCurrentPage, std::uint32_t(++page));
            EXPECT_GE(m.progress->nTotalPages, m.progress->nCurrentPage);
        }
        if (m.wParam == PROGRESS_PERCENT)
            EXPECT_LE(m.progress->nPercent, 100u);
    }
    const RecordedMessage& done = window.messages().back();
    EXPECT_EQ(done.progress->nTotalPages, 3u);
    EXPECT_EQ(done.progress->nPercent, 100u);
    EXPECT_TRUE(pdfInfo(pdf).contains(QRegularExpression("Pages:\\s+3")));
}

TEST(TranscoderProgress, ExpectedPageCountMakesTheTotalAndPercentCoverTheDocument)
{
    RecordingWindow window;
    const _tagDOCUMENT_INFO info = documentInfo(outputPath("expected.pdf"), "Report", "tester", 4);
    CEMF2PDFTranscoder transcoder(&window);
    transcoder.BeginDocument(&info, 0);
    const QByteArray page = textPage("one of four");
    HENHMETAFILE metafile = SetEnhMetaFileBits(unsigned(page.size()), reinterpret_cast<const unsigned char*>(page.constData()));
    ASSERT_EQ(transcoder.TranscodePage(metafile, 1, 0), 1);
    DeleteEnhMetaFile(metafile);
    const RecordedMessage& last = window.messages().back();
    ASSERT_EQ(last.wParam, PROGRESS_PERCENT);
    EXPECT_EQ(last.progress->nTotalPages, 4u);
    EXPECT_EQ(last.progress->nPercent, 25u);
    EXPECT_EQ(transcoder.EndDocument(), 1);
}

TEST(TranscoderProgress, CancelAfterFirstPageEndsWithAbortAndKeepsTheOutputUntouched)
{
    const QString pdf = outputPath("cancel.pdf");
    {
        QFile existing(pdf); // the converter has already created (and emptied) the output file
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    }
    RecordingWindow window;
    window.setReaction([](const RecordedMessage& m, RecordingWindow& self) {
        if (m.wParam == PROGRESS_PAGE && m.progress->nCurrentPage == 1)
            self.setUserData(1);
    });
    EXPECT_EQ(transcode(threePages(), pdf, window), 0);

    const std::vector<unsigned> kinds = window.progressKinds();
    EXPECT_EQ(kinds.back(), PROGRESS_ABORT);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), PROGRESS_PAGE), 1);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), PROGRESS_ABORT), 1);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), PROGRESS_DONE), 0);
    EXPECT_GT(window.pumps(), 0);
    // Deleting the output is the window's decision; the transcoder leaves it as it was.
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(QFileInfo(pdf).size(), 0);
}

TEST(TranscoderProgress, EveryEndingSendsExactlyOneFinalNotification)
{
    struct Case {
        const char* name;
        QString output;
        int pages;
        bool callEnd;
        unsigned final;
    };
    const Case cases[] = {
        {"no page at all", outputPath("empty.pdf"), 0, true, PROGRESS_ABORT},
        {"output folder missing", outputPath("missing/sub/out.pdf"), 1, true, PROGRESS_ABORT},
        {"empty output path", QString(), 1, true, PROGRESS_ABORT},
        {"destroyed without EndDocument", outputPath("noend.pdf"), 1, false, PROGRESS_ABORT},
        {"one page", outputPath("one.pdf"), 1, true, PROGRESS_DONE},
    };
    for (const Case& c : cases) {
        RecordingWindow window;
        {
            const _tagDOCUMENT_INFO info = documentInfo(c.output);
            CEMF2PDFTranscoder transcoder(&window);
            transcoder.BeginDocument(&info, 0);
            const QByteArray page = textPage("page");
            for (int i = 1; i <= c.pages; ++i) {
                HENHMETAFILE metafile = SetEnhMetaFileBits(unsigned(page.size()),
                                                           reinterpret_cast<const unsigned char*>(page.constData()));
                transcoder.TranscodePage(metafile, i, 0);
                DeleteEnhMetaFile(metafile);
            }
            if (c.callEnd)
                transcoder.EndDocument();
        }
        const std::vector<unsigned> kinds = window.progressKinds();
        ASSERT_FALSE(kinds.empty()) << c.name;
        EXPECT_EQ(kinds.front(), PROGRESS_BEGIN) << c.name;
        EXPECT_EQ(kinds.back(), c.final) << c.name;
        EXPECT_EQ(std::count(kinds.begin(), kinds.end(), PROGRESS_DONE)
                      + std::count(kinds.begin(), kinds.end(), PROGRESS_ABORT),
                  1)
            << c.name;
        EXPECT_EQ(QFile::exists(c.output) && QFileInfo(c.output).size() > 0, c.final == PROGRESS_DONE) << c.name;
    }
}
