#include "platform/core/DocumentInfo.h"
#include "platform/core/RecordingWindow.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(MessageWindow, UserDataAndSendsGoThroughTheHandle)
{
    RecordingWindow window;
    EXPECT_EQ(GetWindowLongPtr(&window, GWLP_USERDATA), 0);
    EXPECT_EQ(SetWindowLongPtr(&window, GWLP_USERDATA, 1), 0);
    EXPECT_EQ(GetWindowLongPtr(&window, GWLP_USERDATA), 1);

    _tagPROGRESS_INFO info{10, 3, 7, 1, 30};
    EXPECT_EQ(SendMessage(&window, WM_CONVERT_PROGRESS, PROGRESS_PAGE, reinterpret_cast<LPARAM>(&info)), 1);
    info.nCurrentPage = 99; // the window keeps what it was sent, not the caller's buffer
    SendMessage(&window, WM_CONVERT_PROGRESS, PROGRESS_SAVING, 0);
    PumpWindowMessages(&window);

    ASSERT_EQ(window.messages().size(), 2u);
    ASSERT_TRUE(window.messages()[0].progress.has_value());
    EXPECT_EQ(window.messages()[0].progress->nCurrentPage, 3u);
    EXPECT_EQ(window.messages()[0].progress->nPercent, 30u);
    EXPECT_FALSE(window.messages()[1].progress.has_value());
    EXPECT_EQ(window.progressKinds(), (std::vector<unsigned>{PROGRESS_PAGE, PROGRESS_SAVING}));
    EXPECT_EQ(window.pumps(), 1);
}

TEST(MessageWindow, NullWindowIsHarmless)
{
    EXPECT_EQ(SendMessage(nullptr, WM_CONVERT_PROGRESS, PROGRESS_DONE, 0), 0);
    EXPECT_EQ(GetWindowLongPtr(nullptr, GWLP_USERDATA), 0);
    EXPECT_EQ(SetWindowLongPtr(nullptr, GWLP_USERDATA, 1), 0);
    PumpWindowMessages(nullptr);
}
