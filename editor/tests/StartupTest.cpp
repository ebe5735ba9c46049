#include "EditorFixture.h"
#include "FakeTdxControl.h"

#include "editor/AboutDlg.h"
#include "editor/BookPanes.h"
#include "editor/CommandIds.h"
#include "editor/Profile.h"
#include "editor/TdxComponentRegistration.h"
#include "package/ePubContainerFormat.h"
#include "platform/core/Registry.h"
#include "platform/ui/DockPane.h"
#include "platform/ui/QtPropertyGrid.h"
#include "platform/ui/QtTreeControl.h"
#include "platform/ui/StatusIndicatorBar.h"

#include <QDir>
#include <QLabel>

using platform::DockPane;

TEST(Startup, WaitsScaleWithTheEnvironment)
{
    const struct {
        const char* value; // null: unset
        int expected;
    } cases[] = {{nullptr, 200}, {"0", 0}, {"50", 100}, {"100", 200}, {"junk", 200}, {"-5", 200}};
    for (const auto& c : cases) {
        if (c.value)
            qputenv("LINDAR_STARTUP_WAIT_PERCENT", c.value);
        else
            qunsetenv("LINDAR_STARTUP_WAIT_PERCENT");
        EXPECT_EQ(CLindarApp::ScaledWait(200), c.expected) << (c.value ? c.value : "unset");
    }
    qputenv("LINDAR_STARTUP_WAIT_PERCENT", "0");
}

TEST(Startup, EndsWhenTheWordProcessorIsNotInstalled)
{
    qputenv("LINDAR_STARTUP_WAIT_PERCENT", "0");
    platform::Registry::deleteKey(platform::RegistryHive::LocalMachine, CTdxComponentRegistration::PrimaryKey());
    ASSERT_FALSE(CTdxComponentRegistration::IsInstalled());
    platform::ScriptedMessageBoxes boxes;
    platform::ScopedMessageBoxBackend scope(&boxes);
    {
        CLindarApp app;
        EXPECT_FALSE(app.InitInstance());
    }
    ASSERT_EQ(boxes.asked().size(), 1);
    EXPECT_EQ(boxes.asked().at(0).text, "Corvel Tdx2007이 설치되어 있어야 합니다.");
    EXPECT_EQ(boxes.asked().at(0).caption, "Tolvo maker 편집툴");

    // Either key will do; the install step writes the first.
    platform::Registry::createKey(platform::RegistryHive::LocalMachine, CTdxComponentRegistration::AlternateKey());
    EXPECT_TRUE(CTdxComponentRegistration::IsInstalled());
    platform::Registry::deleteKey(platform::RegistryHive::LocalMachine, CTdxComponentRegistration::AlternateKey());
}

using MainWindow = EditorFixture;

TEST_F(MainWindow, ShowsPanesStatusBarAndNoBook)
{
    CMainFrame& frame = Frame();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(Doc(), nullptr);
    EXPECT_EQ(CProfile::ReadLook(), 214);

    const struct {
        DockPane* pane;
        const char* caption;
        int id;
        Qt::DockWidgetArea area;
        bool visible;
    } panes[] = {
        {frame.Panes().NaviPane(), "목차 관리", 133, Qt::LeftDockWidgetArea, true},
        {frame.Panes().ManiPane(), "파일 목록 보기", 134, Qt::NoDockWidgetArea, false},
        {frame.Panes().StylePane(), "스타일 목록", 323, Qt::LeftDockWidgetArea, true},
        {frame.Panes().SpinePane(), "출력 순서 관리", 403, Qt::LeftDockWidgetArea, true},
        {frame.Panes().OutputPane(), "출력", 149, Qt::NoDockWidgetArea, false},
        {frame.Panes().PropertiesPane(), "출판 정보 관리", 150, Qt::RightDockWidgetArea, true},
    };
    for (const auto& p : panes) {
        SCOPED_TRACE(p.caption);
        EXPECT_EQ(p.pane->windowTitle(), QString::fromUtf8(p.caption));
        EXPECT_EQ(p.pane->paneId(), p.id);
        EXPECT_EQ(p.pane->isVisible(), p.visible);
        if (p.visible)
            EXPECT_EQ(frame.dockWidgetArea(p.pane), p.area);
    }
    EXPECT_FALSE(frame.Panes().ManiPane()->isEnabled());
    // The spine and style panes are tabs beside the navigation pane.
    const QList<QDockWidget*> tabs = frame.tabifiedDockWidgets(frame.Panes().NaviPane());
    EXPECT_TRUE(tabs.contains(frame.Panes().SpinePane()));
    EXPECT_TRUE(tabs.contains(frame.Panes().StylePane()));

    EXPECT_EQ(frame.Panes().NavigationTree()->GetItemText(frame.Panes().NavigationTree()->GetRootItem()),
              "표시할 정보가 없습니다.");
    EXPECT_EQ(frame.Panes().SpineTree()->GetItemText(frame.Panes().SpineTree()->GetRootItem()),
              "표시할 데이터가 없습니다.");

    const QStringList initial{"쪽 / 단 정보", "줄 / 칸 정보", "문단 나눔", "구역 정보", "수정/삽입"};
    for (int i = 0; i < initial.size(); ++i)
        EXPECT_EQ(frame.StatusBar().indicatorText(2 * i), initial.at(i));
    // With no book, idle calls leave the initial texts.
    for (int i = 0; i < 64; ++i)
        m_app->OnIdle();
    EXPECT_EQ(frame.StatusBar().indicatorText(0), initial.at(0));
    EXPECT_TRUE(m_boxes.asked().isEmpty());
}

TEST_F(MainWindow, CommandLineOpensNothingAndClosingWithoutChangesAsksNothing)
{
    const QString book = SimpleBook("cmd.epub");
    m_app = std::make_unique<CLindarApp>(); // started again, now with a book on the command line
    ASSERT_TRUE(m_app->InitInstance({"lindar", book}));
    EXPECT_EQ(Doc(), nullptr);
    Frame().close();
    EXPECT_TRUE(m_boxes.asked().isEmpty());
}

TEST_F(MainWindow, AboutBoxShowsNameAndVersion)
{
    CAboutDlg about(&Frame());
    EXPECT_EQ(about.windowTitle(), "Tolvo maker 편집툴 정보");
    auto* text = about.findChild<QLabel*>("aboutText");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), "Tolvo maker 편집툴, 버전 0.9.3.0");
}

TEST_F(MainWindow, ShutdownLeavesAnEmptyWorkFolderBase)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("shutdown.epub")), nullptr);
    const QString base = CePubContainerFormat::GetWorkFolderBase(true);
    EXPECT_FALSE(QDir(base).isEmpty());
    // A link to outside data must not take that data with it.
    QTemporaryDir outside;
    QFile keep(outside.filePath("keep.txt"));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.close();
    ASSERT_TRUE(QFile::link(outside.path(), base + "/link-out"));
    ASSERT_TRUE(QFileInfo(base + "/link-out").isSymLink());
    Frame().m_bClosing = true;
    m_app.reset();
    EXPECT_TRUE(QDir(base).exists());
    EXPECT_TRUE(QDir(base).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System));
    EXPECT_TRUE(QFile::exists(outside.filePath("keep.txt")));
}

using StatusBar = FakeEditorFixture;

TEST_F(StatusBar, RefreshesOnEvery32ndIdleCall)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("status.epub")), nullptr);
    FakeTdxControl* fake = Fake();
    ASSERT_NE(fake, nullptr);
    fake->statusValues = {2, 1, 3, 1, 12, 7, 1, QStringLiteral("본문")};
    // Line up the idle counter on a refresh.
    int calls = 0;
    while (Frame().StatusBar().indicatorText(0) != "      3쪽     1단" && calls < 64) {
        m_app->OnIdle();
        ++calls;
    }
    ASSERT_LT(calls, 64);
    platform::StatusIndicatorBar& bar = Frame().StatusBar();
    EXPECT_EQ(bar.indicatorText(2), "     12줄     7칸");
    EXPECT_EQ(bar.indicatorText(4), "본문 ");
    EXPECT_EQ(bar.indicatorText(6), " 1/2구역 ");
    EXPECT_EQ(bar.indicatorText(8), "수정");

    fake->statusValues.page = 9;
    fake->statusValues.overwrite = 0;
    for (int i = 0; i < 31; ++i)
        m_app->OnIdle();
    EXPECT_EQ(bar.indicatorText(0), "      3쪽     1단");
    m_app->OnIdle();
    EXPECT_EQ(bar.indicatorText(0), "      9쪽     1단");
    EXPECT_EQ(bar.indicatorText(8), "삽입");
}
