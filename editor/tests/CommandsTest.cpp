// The ribbon's layout, the dispatcher, the enable rule, the keys and the editing commands.
#include "EditorFixture.h"
#include "FakeTdxControl.h"

#include "editor/ApplicationLook.h"
#include "editor/BookPanes.h"
#include "editor/CommandIds.h"
#include "editor/Profile.h"
#include "platform/core/Shell.h"
#include "platform/ui/DockPane.h"
#include "platform/ui/RibbonApplicationMenu.h"
#include "platform/ui/RibbonBar.h"
#include "platform/ui/StatusIndicatorBar.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTextEdit>

#include <set>

using platform::MessageResult;
using platform::RibbonBar;

namespace {

struct Label {
    int id;
    const char* label;
    const char* toolTip;
};

// Every ribbon command with its label and tool tip, as the product shows them.
const Label kLabels[] = {
    {32772, "새 파일", "새 Epub파일을 엽니다."},
    {57601, "불러오기", "기존 Epub파일을 엽니다."},
    {32774, "저장하기", "Epub파일을 저장합니다."},
    {32775, "다른 이름으로 저장하기", "Epub파일을 다른이름으로 저장합니다."},
    {32830, "현재 창 닫기", "현재편집중인 문서를 닫습니다."},
    {57665, "프로그램종료", "프로그램을 종료합니다."},
    {32828, "인쇄", "현재 편집중인 본문을 인쇄합니다."},
    {32829, "미리보기", "인쇄를 미리봅니다."},
    {32840, "일반 사이즈", "편집용지 사이즈를 A4용지 사이즈로 설정한다."},
    {32841, "Tolvo 사이즈", "편집용지 사이즈를 Tolvo 사이즈로 설정한다."},
    {32795, "일반문서 불러오기", "컨텐츠파일을 삽입합니다."},
    {32796, "이미지 삽입", "문서에 이미지를 삽입합니다."},
    {32842, "표 삽입", "문서에 새로운 표를 넣습니다."},
    {32843, "수식 삽입", "문서에 수식을 만듭니다."},
    {32846, "이미지 개체 속성 변경", "디바이스 크기에 맞게 이미지 객체속성을 변경 합니다."},
    {32844, "스타일", "문서의 스타일을 확인/적용 합니다."},
    {32824, "크게", "글자 크기 크게"},
    {32823, "작게", "글자 크기 작게"},
    {32819, "진하게", "글꼴에 진하게효과를 적용합니다."},
    {32817, "기울기", "글꼴에 기울기효과를 적용합니다."},
    {32818, "밑줄", "글꼴에 밑줄효과를 적용합니다."},
    {32820, "취소선", "글꼴에 취소선효과를 적용합니다."},
    {32822, "윗첨자", "글꼴에 윗첨자효과를 적용합니다."},
    {32821, "아래첨자", "글꼴에 아래첨자효과를 적용합니다."},
    {32833, "양쪽정렬", "글꼴의 정렬을 양쪽정렬로 적용합니다."},
    {32825, "왼쪽정렬", "글꼴의 정렬을 왼쪽정렬로 적용합니다."},
    {32827, "오른쪽정렬", "글꼴의 정렬을 오른쪽정렬로 적용합니다."},
    {32826, "중앙정렬", "글꼴의 정렬을 중앙정렬로 적용합니다."},
    {32815, "들여쓰기", "들여쓰기를 삽입합니다."},
    {32816, "내어쓰기", "내어쓰기를 삽입합니다."},
    {32899, "번호매김", "번호매김을 삽입합니다."},
    {32798, "글머리", "글머리를 삽입합니다."},
    {32845, "SCM 등록", "컨텐츠를 SCM에 등록합니다."},
    {32782, "되돌리기", "되돌리기"},
    {32783, "다시실행", "재실행"},
    {32787, "복사하기", "복사"},
    {32788, "붙여넣기", "붙여넣기"},
    {32789, "오려두기", "오려두기"},
    {32790, "찾기", "찾기"},
    {32831, "화면 확대", "편집화면을 확대해서 봅니다."},
    {32832, "화면 축소", "편집화면을 축소해서 봅니다."},
    {32778, "출판정보 소스보기", "Epub파일 출판정보 소스를 봅니다."},
    {32780, "목차정보 소스보기", "Epub파일 목차정보 소스을 봅니다."},
    {32781, "본문 소스보기", "Epub파일 본문 소스를 봅니다."},
    {32838, "보기", "작업창 보기"},
    {32835, "맞춤법", "맞춤법을 검사합니다."},
    {32836, "Corvel 사전", "Corvel 사전을 실행합니다."},
    {32801, "도움말", "도움말을 봅니다."},
    {32802, "프로그램 문의", "사용상의 문의를 합니다."},
    {32803, "프로그램 정보", "프로그램 정보"},
};

struct Placement {
    const char* tab;
    const char* panel;
    QList<int> ids;
};

const Placement kLayout[] = {
    {"홈", "파일", {32772, 57601, 32774, 32775, 32830}},
    {"홈", "보기", {32840, 32841}},
    {"홈", "입력", {32795, 32796, 32842, 32843}},
    {"홈", "매크로", {32846}},
    {"홈", "서식", {32844, 32824, 32823, 32833, 32825, 32827, 32826}},
    {"홈", "SCM 등록", {32845}},
    {"파일", "열기", {32772, 57601}},
    {"파일", "저장", {32774, 32775}},
    {"파일", "프린터", {32828, 32829}},
    {"파일", "종료", {32830, 57665}},
    {"편집", "편집", {32782, 32783, 32787, 32788, 32789, 32790}},
    {"보기", "확대/축소", {32831, 32832}},
    {"보기", "편집용지", {32840, 32841}},
    {"보기", "소스보기", {32778, 32780, 32781}},
    {"보기", "작업창 보기", {32838}},
    {"입력", "컨텐츠", {32795}},
    {"입력", "미디어", {32796, 32842, 32843}},
    {"서식", "스타일", {32844}},
    {"서식", "글꼴효과", {32823, 32824, 32819, 32817, 32818, 32820, 32822, 32821}},
    {"서식", "정렬", {32833, 32825, 32827, 32826}},
    {"서식", "서식", {32815, 32816, 32899, 32798}},
    {"도구", "도구", {32835, 32836}},
    {"도구", "SCM 등록", {32845}},
    {"도움말", "도움말", {32801, 32802}},
    {"도움말", "프로그램정보", {32803}},
};

const Label* labelOf(int id)
{
    for (const Label& label : kLabels)
        if (label.id == id)
            return &label;
    return nullptr;
}

// Commands that do something only with an open book.
const int kBookCommands[] = {32774, 32775, 32830, 32828, 32829, 32840, 32841, 32795, 32796, 32842, 32843,
                             32846, 32844, 32824, 32823, 32819, 32817, 32818, 32820, 32822, 32821, 32833,
                             32825, 32827, 32826, 32815, 32816, 32899, 32798, 32845, 32782, 32783, 32787,
                             32788, 32789, 32790, 32831, 32832, 32778, 32780, 32781, 32835, 32836};

void activate(QWidget& window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

} // namespace

using Commands = FakeEditorFixture;
using CommandKeys = EditorFixture;

TEST_F(Commands, RibbonButtonsShowTheirLabelsToolTipsAndPanels)
{
    const RibbonBar& ribbon = Frame().RibbonBar();
    QStringList tabs;
    for (int tab = 0; tab < ribbon.categoryCount(); ++tab)
        tabs << ribbon.categoryName(tab);
    EXPECT_EQ(tabs, (QStringList{"홈", "파일", "편집", "보기", "입력", "서식", "도구", "도움말"}));

    int placement = 0;
    for (int tab = 0; tab < ribbon.categoryCount(); ++tab) {
        for (int panel = 0; panel < ribbon.panelCount(tab); ++panel, ++placement) {
            ASSERT_LT(placement, int(std::size(kLayout)));
            const Placement& expected = kLayout[placement];
            const std::string where = std::string(expected.tab) + "/" + expected.panel;
            EXPECT_EQ(ribbon.categoryName(tab), QString::fromUtf8(expected.tab)) << where;
            EXPECT_EQ(ribbon.panelName(tab, panel), QString::fromUtf8(expected.panel)) << where;
            EXPECT_EQ(ribbon.panelCommands(tab, panel), expected.ids) << where;
            for (const RibbonBar::ButtonInfo& button : ribbon.panelButtons(tab, panel)) {
                const Label* label = labelOf(button.id);
                ASSERT_NE(label, nullptr) << button.id;
                EXPECT_EQ(button.label, QString::fromUtf8(label->label)) << where << " " << button.id;
                EXPECT_EQ(button.toolTip, QString::fromUtf8(label->toolTip)) << where << " " << button.id;
            }
        }
    }
    EXPECT_EQ(placement, int(std::size(kLayout)));

    // The shown tool tip names the keys.
    EXPECT_EQ(ribbon.command(cmd::SaveBook)->toolTip(), "Epub파일을 저장합니다. (Alt+S, Ctrl+S)");
    EXPECT_EQ(ribbon.command(cmd::Bold)->toolTip(), "글꼴에 진하게효과를 적용합니다. (Ctrl+B)");
    EXPECT_EQ(ribbon.command(cmd::Style)->toolTip(), "문서의 스타일을 확인/적용 합니다.");
}

TEST_F(Commands, ApplicationMenuListsItsCommandsAndTheRecentBooks)
{
    const platform::RibbonApplicationMenu& menu = Frame().RibbonBar().applicationMenu();
    QList<int> ids;
    QStringList labels;
    for (QAction* entry : menu.entries()) {
        ids << (entry ? entry->data().toInt() : 0);
        if (entry)
            labels << entry->text();
    }
    EXPECT_EQ(ids, (QList<int>{32772, 57601, 32774, 32775, 0, 32841, 32840, 0, 32829, 32828, 0, 32844, 32795,
                               32796, 32842, 32843, 0, 57665}));
    EXPECT_EQ(labels.last(), "프로그램 종료");
    EXPECT_EQ(labels.first(), "새 파일");
    EXPECT_EQ(menu.recentCaption(), "최근Epub문서");
    ASSERT_NE(menu.bottomEntry(), nullptr);
    EXPECT_EQ(menu.bottomEntry()->data().toInt(), 57665);

    const QString book = SimpleBook("recent.epub");
    ASSERT_NE(m_app->OpenBookFile(book), nullptr);
    EXPECT_EQ(menu.recentFiles().value(0), QFileInfo(book).absoluteFilePath());
}

TEST_F(Commands, WithoutABookBookCommandsAreDisabledAndOnlyRedraw)
{
    platform::RecordingShell shell;
    platform::ScopedShellBackend shellScope(&shell);
    const RibbonBar& ribbon = Frame().RibbonBar();
    const QString title = Frame().windowTitle();
    for (int id : kBookCommands) {
        EXPECT_FALSE(ribbon.isCommandEnabled(id)) << id;
        EXPECT_FALSE(Frame().IsCommandEnabled(id)) << id;
        Frame().OnCommand(id);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << id; // the wait cursor is gone again
    }
    ProcessPosted();
    EXPECT_TRUE(m_boxes.asked().isEmpty());
    EXPECT_TRUE(m_dialogs.asked().isEmpty());
    EXPECT_TRUE(shell.requests().isEmpty());
    EXPECT_EQ(Doc(), nullptr);
    EXPECT_EQ(Frame().windowTitle(), title);
    for (int id : {32772, 57601, 57665, 32838, 32801, 32802, 32803})
        EXPECT_TRUE(ribbon.isCommandEnabled(id)) << id;
}

TEST_F(Commands, OnlyThePaperSizeNotInUseCanBeChosen)
{
    const RibbonBar& ribbon = Frame().RibbonBar();
    auto states = [&] {
        return QString("%1%2").arg(ribbon.isCommandEnabled(cmd::PaperA4) ? "A4" : "--",
                                   ribbon.isCommandEnabled(cmd::PaperDevice) ? "Tolvo" : "--");
    };
    EXPECT_EQ(states(), "----"); // no book
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("paper.epub")), nullptr);
    EXPECT_EQ(states(), "A4--"); // a new chapter view has the device's page
    Fake()->log.clear();
    Frame().OnCommand(cmd::PaperA4);
    EXPECT_EQ(states(), "--Tolvo");
    EXPECT_TRUE(Frame().m_bA4Paper);
    EXPECT_FALSE(Frame().m_bDevicePaper);
    EXPECT_EQ(Fake()->executed.last().set->itemSet("PageDef")->intItem("PaperWidth", 0), 59528);
    Frame().OnCommand(cmd::PaperA4); // greyed: nothing changes
    EXPECT_EQ(states(), "--Tolvo");

    Fake()->log.clear();
    Frame().OnCommand(cmd::PaperDevice);
    EXPECT_EQ(states(), "A4--");
    EXPECT_EQ(Fake()->executed.last().set->itemSet("PageDef")->intItem("PaperWidth", 0), 26844);
    EXPECT_TRUE(Fake()->log.contains("setViewProperties|0|100")); // the device size shows at 100 %

    Frame().OnCommand(cmd::PaperA4);
    m_boxes.enqueue(MessageResult::No);
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("paper2.epub")), nullptr);
    EXPECT_EQ(states(), "A4--");
}

TEST_F(Commands, ZoomStepsStayWithinFiftyAndTwoHundred)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("zoom.epub")), nullptr);
    auto applied = [&](int id, int times) {
        QStringList ratios;
        for (int i = 0; i < times; ++i) {
            Fake()->log.clear();
            Frame().OnCommand(id);
            for (const QString& line : Fake()->log)
                if (line.startsWith("setViewProperties|0|"))
                    ratios << line.section('|', 2);
        }
        return ratios;
    };
    EXPECT_EQ(applied(cmd::ZoomIn, 6), (QStringList{"120", "140", "160", "180", "200"}));
    EXPECT_EQ(Doc()->m_nZoomRatio, 200);
    EXPECT_EQ(applied(cmd::ZoomOut, 1), QStringList{"180"});
    EXPECT_EQ(applied(cmd::ZoomOut, 7), (QStringList{"160", "140", "120", "100", "80", "60"}));
    EXPECT_EQ(Doc()->m_nZoomRatio, 60);
    Doc()->ResetZoom();
    EXPECT_EQ(Doc()->m_nZoomRatio, 60); // the reset shows 100 % and keeps the ratio
    EXPECT_EQ(Fake()->log.last(), "setViewProperties|0|100");
}

TEST_F(Commands, IndentAndOutdentMoveByFiveHundredAndStopAtTheMargin)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("indent.epub")), nullptr);
    const struct {
        int command;
        int before;
        int after;
    } cases[] = {
        {cmd::Outdent, 300, -200},
        {cmd::Outdent, 0, 0},
        {cmd::Outdent, -200, -200},
        {cmd::Outdent, 1200, 700},
        {cmd::Indent, 300, 800},
        {cmd::Indent, -200, 300},
    };
    for (const auto& c : cases) {
        Fake()->defaultsOf("ParagraphShape")->setItem("Indentation", c.before);
        Fake()->executed.clear();
        Frame().OnCommand(c.command);
        ASSERT_EQ(Fake()->executed.size(), 1) << c.before;
        EXPECT_EQ(Fake()->executed.at(0).action, "ParagraphShape");
        EXPECT_EQ(Fake()->executed.at(0).set->intItem("Indentation", 99999), c.after) << c.before;
    }
}

TEST_F(Commands, FormattingCommandsRunTheirActionsOnTheChapter)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("format.epub")), nullptr);
    const struct {
        int command;
        const char* action;
    } cases[] = {
        {32828, "Print"}, {32829, "FilePreview"}, {32795, "InsertFile"}, {32796, "PictureInsertDialog"},
        {32842, "TableCreate"}, {32843, "EquationCreate"}, {32844, "Style"},
        {32824, "CharShapeHeightIncrease"}, {32823, "CharShapeHeightDecrease"}, {32819, "CharShapeBold"},
        {32817, "CharShapeItalic"}, {32818, "CharShapeUnderline"}, {32820, "CharShapeCenterline"},
        {32822, "CharShapeSuperscript"}, {32821, "CharShapeSubscript"}, {32833, "ParagraphShapeAlignJustify"},
        {32825, "ParagraphShapeAlignLeft"}, {32827, "ParagraphShapeAlignRight"},
        {32826, "ParagraphShapeAlignCenter"}, {32899, "PutParaNumber"}, {32798, "PutBullet"}, {32782, "Undo"},
        {32783, "Redo"}, {32787, "Copy"}, {32788, "Paste"}, {32789, "Cut"}, {32790, "FindDlg"},
        {32835, "SpellingCheck"}, {32836, "TdxDic"}, {32794, "InsertFile"},
    };
    for (const auto& c : cases) {
        Fake()->log.clear();
        Frame().OnCommand(c.command);
        EXPECT_EQ(Fake()->log, QStringList{QString("run|") + c.action}) << c.command;
    }

    // The picture command asks first, then reports that the chapter has no picture.
    m_boxes.clear();
    m_boxes.enqueue(MessageResult::Yes);
    Frame().OnCommand(cmd::FitImages);
    EXPECT_EQ(Questions().value(1), "페이지에 작업할 이미지가 없습니다.");
}

TEST_F(Commands, CommandsWithoutABookReachTheirServices)
{
    platform::RecordingShell shell;
    platform::ScopedShellBackend shellScope(&shell);
    Frame().OnCommand(cmd::Help);
    ASSERT_EQ(shell.requests().size(), 1);
    EXPECT_EQ(shell.requests().at(0).kind, platform::ShellRequest::Kind::Open);
    EXPECT_TRUE(shell.requests().at(0).target.endsWith("/help/Quorra.html"));
    EXPECT_TRUE(QFileInfo(shell.requests().at(0).target).isFile());

    Frame().OnCommand(cmd::ConversionTool);
    ASSERT_EQ(shell.requests().size(), 2);
    EXPECT_EQ(shell.requests().at(1).kind, platform::ShellRequest::Kind::Start);
    EXPECT_TRUE(shell.requests().at(1).target.endsWith("Tolvo maker 변환툴.exe"));
    EXPECT_TRUE(m_boxes.asked().isEmpty());

    shell.setResult(false); // the tool is not there
    Frame().OnCommand(cmd::ConversionTool);
    EXPECT_TRUE(Questions().value(0).startsWith("변환툴을 실행할 수 없습니다."));

    m_boxes.clear();
    Frame().OnCommand(cmd::Inquiry);
    ASSERT_EQ(m_boxes.asked().size(), 1);
    EXPECT_EQ(m_boxes.asked().at(0).text, "서비스 준비중 입니다.");
    EXPECT_EQ(m_boxes.asked().at(0).caption, "Tolvo maker 편집툴");

    for (platform::DockPane* pane : {Frame().Panes().NaviPane(), Frame().Panes().SpinePane(),
                                     Frame().Panes().StylePane(), Frame().Panes().PropertiesPane()})
        pane->hide();
    Frame().OnCommand(cmd::ShowPanes);
    for (platform::DockPane* pane : {Frame().Panes().NaviPane(), Frame().Panes().SpinePane(),
                                     Frame().Panes().StylePane(), Frame().Panes().PropertiesPane()})
        EXPECT_FALSE(pane->isHidden()) << pane->windowTitle().toStdString();
    Frame().Panes().NaviPane()->hide();
    Frame().OnCommand(cmd::ShowNavigation);
    EXPECT_FALSE(Frame().Panes().NaviPane()->isHidden());
}

TEST_F(Commands, PasteWhileAnotherWindowIsActiveGoesToThatWindow)
{
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("elsewhere.epub")), nullptr);
    QWidget other;
    auto* field = new QLineEdit(&other);
    ASSERT_NO_FATAL_FAILURE(activate(other));
    field->setFocus();
    QApplication::clipboard()->setText("into the field");
    Fake()->log.clear();
    Frame().OnCommand(cmd::Paste);
    EXPECT_EQ(field->text(), "into the field");
    EXPECT_FALSE(Fake()->log.contains("run|Paste"));

    ASSERT_NO_FATAL_FAILURE(activate(Frame()));
    Frame().OnCommand(cmd::Paste);
    EXPECT_EQ(Fake()->log, QStringList{"run|Paste"});
}

TEST_F(Commands, EachLookIsStoredAndDrawnInItsOwnColours)
{
    const int before = CProfile::ReadLook();
    std::set<QRgb> windows;
    std::set<QRgb> ribbons;
    for (int look = cmd::FirstLook; look <= cmd::LastLook; ++look) {
        Frame().RibbonBar().command(look)->trigger();
        EXPECT_EQ(CProfile::ReadLook(), look);
        EXPECT_EQ(m_app->m_nAppLook, look);
        const LookStyle& style = CApplicationLook::For(look);
        EXPECT_EQ(style.look, look);
        EXPECT_EQ(Frame().palette().color(QPalette::Window), style.palette.color(QPalette::Window)) << look;
        EXPECT_EQ(Frame().RibbonBar().colors().background, style.ribbon.background) << look;
        for (int other = cmd::FirstLook; other <= cmd::LastLook; ++other)
            EXPECT_EQ(Frame().RibbonBar().command(other)->isChecked(), other == look) << look << " " << other;
        windows.insert(Frame().palette().color(QPalette::Window).rgb());
        ribbons.insert(Frame().RibbonBar().colors().background.rgb());
    }
    EXPECT_EQ(windows.size(), 9u);
    EXPECT_EQ(ribbons.size(), 9u);
    EXPECT_EQ(CApplicationLook::For(300).look, 215); // any other value: the blue look
    Frame().ApplyLook(before); // the profile outlives this test
}

// Keys typed while the chapter has the keyboard reach the frame's commands.
class ChapterEditorFake : public FakeTdxControl {
public:
    explicit ChapterEditorFake(QWidget* parent) : m_editor(new QTextEdit(parent)) {}
    QWidget* widget() override { return m_editor; }
    QPointer<QTextEdit> m_editor;
};

TEST_F(Commands, ClipboardAndUndoKeysInTheChapterRunTheCommands)
{
    CDTdxCtrl0::ScopedFactory factory(
        [](QWidget* parent) -> std::unique_ptr<tdx::Control> { return std::make_unique<ChapterEditorFake>(parent); });
    ASSERT_NE(m_app->OpenBookFile(SimpleBook("keys.epub")), nullptr);
    auto* fake = static_cast<ChapterEditorFake*>(Fake());
    ASSERT_NO_FATAL_FAILURE(activate(Frame()));
    QTextEdit* editor = fake->m_editor;
    editor->setFocus();
    QApplication::clipboard()->setText("from the clipboard");

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* action;
    } cases[] = {
        {Qt::Key_V, Qt::ControlModifier, "Paste"},
        {Qt::Key_C, Qt::ControlModifier, "Copy"},
        {Qt::Key_X, Qt::ControlModifier, "Cut"},
        {Qt::Key_Z, Qt::ControlModifier, "Undo"},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "Redo"},
        {Qt::Key_B, Qt::ControlModifier, "CharShapeBold"},
        {Qt::Key_I, Qt::ControlModifier, "CharShapeItalic"},
        {Qt::Key_U, Qt::ControlModifier, "CharShapeUnderline"},
    };
    for (const auto& c : cases) {
        fake->log.clear();
        QTest::keyClick(editor, c.key, c.modifiers);
        EXPECT_EQ(fake->log, QStringList{QString("run|") + c.action}) << c.action;
    }
    EXPECT_EQ(editor->toPlainText(), QString()); // the widget did not paste by itself
}

TEST_F(CommandKeys, CtrlSInTheChapterSavesTheBookAndCtrlBMakesTheWordBold)
{
    const QString book = SimpleBook("save-key.epub");
    m_boxes.enqueue(MessageResult::No); // keep the book's own styles
    ASSERT_NE(m_app->OpenBookFile(book), nullptr);
    ASSERT_NO_FATAL_FAILURE(activate(Frame()));
    auto* editor = qobject_cast<QTextEdit*>(Doc()->m_pCtrl->GetControl()->widget());
    ASSERT_NE(editor, nullptr);
    editor->setFocus();

    QTextCursor cursor = editor->textCursor();
    cursor.movePosition(QTextCursor::Start);
    cursor.select(QTextCursor::WordUnderCursor);
    editor->setTextCursor(cursor);
    ASSERT_EQ(cursor.selectedText(), "first");
    QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier);
    EXPECT_GE(editor->textCursor().charFormat().fontWeight(), QFont::Bold);

    QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Frame().StatusBar().currentMessage(), "save-key.epub 파일을 저장했습니다.");
    ProcessPosted(); // the reopen after the save
    ASSERT_NE(Doc(), nullptr);
    QFile chapter(View()->m_strChapterPath);
    ASSERT_TRUE(chapter.open(QIODevice::ReadOnly));
    const QString saved = QString::fromUtf8(chapter.readAll());
    EXPECT_TRUE(saved.contains(QRegularExpression("<(b|strong)>first</(b|strong)>|font-weight: ?(bold|700)")))
        << saved.toStdString();
}
