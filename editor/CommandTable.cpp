#include "editor/CommandTable.h"

#include "editor/CommandIds.h"

#include <QHash>

namespace {

constexpr bool kBook = true;
constexpr bool kNoBook = false;

QList<QKeySequence> keys(const char* portable)
{
    QList<QKeySequence> list;
    if (portable)
        for (const QString& one : QString::fromLatin1(portable).split(QLatin1Char(';')))
            list << QKeySequence::fromString(one, QKeySequence::PortableText);
    return list;
}

CommandRow row(int id, const char* label, const char* toolTip, bool needsBook, const char* action = nullptr,
               const char* accelerators = nullptr)
{
    return {id, QString::fromUtf8(label), QString::fromUtf8(toolTip), QString::fromLatin1(action), needsBook,
            keys(accelerators)};
}

// Ctrl+S, Ctrl+B, Ctrl+I and Ctrl+U come on top of the program's accelerator table, since
// every editor answers them; F6 is deliberately nobody's key (it moves between panes).
QList<CommandRow> makeRows()
{
    using namespace cmd;
    return {
        row(NewFile, "새 파일", "새 Epub파일을 엽니다.", kNoBook, nullptr, "Alt+N"),
        row(FileOpen, "불러오기", "기존 Epub파일을 엽니다.", kNoBook, nullptr, "Alt+O"),
        row(SaveBook, "저장하기", "Epub파일을 저장합니다.", kBook, nullptr, "Alt+S;Ctrl+S"),
        row(SaveBookAs, "다른 이름으로 저장하기", "Epub파일을 다른이름으로 저장합니다.", kBook, nullptr, "Alt+V"),
        row(CloseWindow, "현재 창 닫기", "현재편집중인 문서를 닫습니다.", kBook),
        row(AppExit, "프로그램종료", "프로그램을 종료합니다.", kNoBook, nullptr, "Alt+X"),
        row(Print, "인쇄", "현재 편집중인 본문을 인쇄합니다.", kBook, "Print"),
        row(PrintPreview, "미리보기", "인쇄를 미리봅니다.", kBook, "FilePreview", "Ctrl+Shift+V"),
        row(PaperA4, "일반 사이즈", "편집용지 사이즈를 A4용지 사이즈로 설정한다.", kBook, nullptr, "Ctrl+Shift+N"),
        row(PaperDevice, "Tolvo 사이즈", "편집용지 사이즈를 Tolvo 사이즈로 설정한다.", kBook, nullptr, "Ctrl+Shift+B"),
        row(InsertDocument, "일반문서 불러오기", "컨텐츠파일을 삽입합니다.", kBook, "InsertFile", "Ctrl+O"),
        row(InsertPicture, "이미지 삽입", "문서에 이미지를 삽입합니다.", kBook, "PictureInsertDialog", "Ctrl+Alt+I"),
        row(InsertTable, "표 삽입", "문서에 새로운 표를 넣습니다.", kBook, "TableCreate", "Ctrl+Alt+T"),
        row(InsertEquation, "수식 삽입", "문서에 수식을 만듭니다.", kBook, "EquationCreate", "Ctrl+Alt+M"),
        row(FitImages, "이미지 개체 속성 변경", "디바이스 크기에 맞게 이미지 객체속성을 변경 합니다.", kBook),
        row(Style, "스타일", "문서의 스타일을 확인/적용 합니다.", kBook, "Style"),
        row(FontLarger, "크게", "글자 크기 크게", kBook, "CharShapeHeightIncrease"),
        row(FontSmaller, "작게", "글자 크기 작게", kBook, "CharShapeHeightDecrease"),
        row(Bold, "진하게", "글꼴에 진하게효과를 적용합니다.", kBook, "CharShapeBold", "Ctrl+B"),
        row(Italic, "기울기", "글꼴에 기울기효과를 적용합니다.", kBook, "CharShapeItalic", "Ctrl+I"),
        row(Underline, "밑줄", "글꼴에 밑줄효과를 적용합니다.", kBook, "CharShapeUnderline", "Ctrl+U"),
        row(Strikeout, "취소선", "글꼴에 취소선효과를 적용합니다.", kBook, "CharShapeCenterline"),
        row(Superscript, "윗첨자", "글꼴에 윗첨자효과를 적용합니다.", kBook, "CharShapeSuperscript"),
        row(Subscript, "아래첨자", "글꼴에 아래첨자효과를 적용합니다.", kBook, "CharShapeSubscript"),
        row(AlignJustify, "양쪽정렬", "글꼴의 정렬을 양쪽정렬로 적용합니다.", kBook, "ParagraphShapeAlignJustify"),
        row(AlignLeft, "왼쪽정렬", "글꼴의 정렬을 왼쪽정렬로 적용합니다.", kBook, "ParagraphShapeAlignLeft"),
        row(AlignRight, "오른쪽정렬", "글꼴의 정렬을 오른쪽정렬로 적용합니다.", kBook, "ParagraphShapeAlignRight"),
        row(AlignCenter, "중앙정렬", "글꼴의 정렬을 중앙정렬로 적용합니다.", kBook, "ParagraphShapeAlignCenter"),
        row(Indent, "들여쓰기", "들여쓰기를 삽입합니다.", kBook),
        row(Outdent, "내어쓰기", "내어쓰기를 삽입합니다.", kBook),
        row(Numbering, "번호매김", "번호매김을 삽입합니다.", kBook, "PutParaNumber"),
        row(Bullet, "글머리", "글머리를 삽입합니다.", kBook, "PutBullet"),
        row(ScmRegistration, "SCM 등록", "컨텐츠를 SCM에 등록합니다.", kBook),
        row(Undo, "되돌리기", "되돌리기", kBook, "Undo", "Ctrl+Z"),
        row(Redo, "다시실행", "재실행", kBook, "Redo", "Ctrl+Shift+Z"),
        row(Copy, "복사하기", "복사", kBook, "Copy", "Ctrl+C"),
        row(Paste, "붙여넣기", "붙여넣기", kBook, nullptr, "Ctrl+V"),
        row(Cut, "오려두기", "오려두기", kBook, "Cut", "Ctrl+X"),
        row(Find, "찾기", "찾기", kBook, "FindDlg"),
        row(ZoomIn, "화면 확대", "편집화면을 확대해서 봅니다.", kBook),
        row(ZoomOut, "화면 축소", "편집화면을 축소해서 봅니다.", kBook),
        row(PackageSource, "출판정보 소스보기", "Epub파일 출판정보 소스를 봅니다.", kBook, nullptr, "Ctrl+Shift+U"),
        row(NcxSource, "목차정보 소스보기", "Epub파일 목차정보 소스을 봅니다.", kBook, nullptr, "Ctrl+Shift+I"),
        row(ChapterSource, "본문 소스보기", "Epub파일 본문 소스를 봅니다.", kBook, nullptr, "Ctrl+Shift+O"),
        row(ShowPanes, "보기", "작업창 보기", kNoBook, nullptr, "Ctrl+Shift+P"),
        row(Spelling, "맞춤법", "맞춤법을 검사합니다.", kBook, "SpellingCheck"),
        row(Dictionary, "Corvel 사전", "Corvel 사전을 실행합니다.", kBook, "TdxDic"),
        row(Help, "도움말", "도움말을 봅니다.", kNoBook, nullptr, "F1"),
        row(Inquiry, "프로그램 문의", "사용상의 문의를 합니다.", kNoBook, nullptr, "Alt+Q"),
        row(AboutRibbon, "프로그램 정보", "프로그램 정보", kNoBook),
        // Reached by keys or by the panes' menus only.
        row(ShowNavigation, "", "", kNoBook),
        row(AddChapter, "", "", kBook),
        row(AddAttribute, "", "", kBook),
        row(cmd::InsertFile, "", "", kBook, "InsertFile"),
        row(InsertBookmark, "", "", kBook),
        row(ConversionTool, "", "", kNoBook, nullptr, "Ctrl+Alt+Q"),
        row(XhtmlSource, "", "", kBook),
        row(AppAbout, "", "", kNoBook),
    };
}

} // namespace

const QList<CommandRow>& CCommandTable::Rows()
{
    static const QList<CommandRow> rows = makeRows();
    return rows;
}

const CommandRow* CCommandTable::Find(int id)
{
    static const QHash<int, const CommandRow*> index = [] {
        QHash<int, const CommandRow*> byId;
        for (const CommandRow& row : Rows())
            byId.insert(row.id, &row);
        return byId;
    }();
    return index.value(id);
}

bool CCommandTable::NeedsBook(int id)
{
    const CommandRow* found = Find(id);
    return found && found->needsBook;
}

const QList<int>& CCommandTable::ApplicationMenu()
{
    using namespace cmd;
    static const QList<int> menu{NewFile, FileOpen, SaveBook, SaveBookAs, 0, PaperDevice, PaperA4, 0,
                                 PrintPreview, Print, 0, Style, InsertDocument, InsertPicture, InsertTable,
                                 InsertEquation, 0, AppExit};
    return menu;
}

QString CCommandTable::ApplicationMenuLabel(int id)
{
    return id == cmd::AppExit ? QStringLiteral("프로그램 종료") : QString();
}

QString CCommandTable::RecentFilesCaption() { return QStringLiteral("최근Epub문서"); }
int CCommandTable::RecentFilesWidth() { return 300; }

const QList<CommandTab>& CCommandTable::Tabs()
{
    using namespace cmd;
    static const QList<CommandTab> tabs{
        CommandTab{QStringLiteral("홈"),
         {CommandPanel{QStringLiteral("파일"), {NewFile, FileOpen, SaveBook, SaveBookAs, CloseWindow}, 3},
          CommandPanel{QStringLiteral("보기"), {PaperA4, PaperDevice}, 2},
          CommandPanel{QStringLiteral("입력"), {InsertDocument, InsertPicture, InsertTable, InsertEquation}, 1},
          CommandPanel{QStringLiteral("매크로"), {FitImages}, 1},
          CommandPanel{QStringLiteral("서식"), {Style, FontLarger, FontSmaller, AlignJustify, AlignLeft, AlignRight, AlignCenter}, 1},
          CommandPanel{QStringLiteral("SCM 등록"), {ScmRegistration}, 1}}},
        CommandTab{QStringLiteral("파일"),
         {CommandPanel{QStringLiteral("열기"), {NewFile, FileOpen}, 2},
          CommandPanel{QStringLiteral("저장"), {SaveBook, SaveBookAs}, 2},
          CommandPanel{QStringLiteral("프린터"), {Print, PrintPreview}, 2},
          CommandPanel{QStringLiteral("종료"), {CloseWindow, AppExit}, 2}}},
        CommandTab{QStringLiteral("편집"),
         {CommandPanel{QStringLiteral("편집"), {Undo, Redo, Copy, Paste, Cut, cmd::Find}, 2}}},
        CommandTab{QStringLiteral("보기"),
         {CommandPanel{QStringLiteral("확대/축소"), {ZoomIn, ZoomOut}, 2},
          CommandPanel{QStringLiteral("편집용지"), {PaperA4, PaperDevice}, 2},
          CommandPanel{QStringLiteral("소스보기"), {PackageSource, NcxSource, ChapterSource}, 3},
          CommandPanel{QStringLiteral("작업창 보기"), {ShowPanes}, 1}}},
        CommandTab{QStringLiteral("입력"),
         {CommandPanel{QStringLiteral("컨텐츠"), {InsertDocument}, 1},
          CommandPanel{QStringLiteral("미디어"), {InsertPicture, InsertTable, InsertEquation}, 3}}},
        CommandTab{QStringLiteral("서식"),
         {CommandPanel{QStringLiteral("스타일"), {Style}, 1},
          CommandPanel{QStringLiteral("글꼴효과"), {FontSmaller, FontLarger, Bold, Italic, Underline, Strikeout, Superscript, Subscript}, 0},
          CommandPanel{QStringLiteral("정렬"), {AlignJustify, AlignLeft, AlignRight, AlignCenter}, 0},
          CommandPanel{QStringLiteral("서식"), {Indent, Outdent, Numbering, Bullet}, 0}}},
        CommandTab{QStringLiteral("도구"),
         {CommandPanel{QStringLiteral("도구"), {Spelling, Dictionary}, 2},
          CommandPanel{QStringLiteral("SCM 등록"), {ScmRegistration}, 1}}},
        CommandTab{QStringLiteral("도움말"),
         {CommandPanel{QStringLiteral("도움말"), {Help, Inquiry}, 2},
          CommandPanel{QStringLiteral("프로그램정보"), {AboutRibbon}, 1}}},
    };
    return tabs;
}

int CCommandTable::TabRowCommand() { return cmd::AboutRibbon; }
QString CCommandTable::TabRowKeyTip() { return QStringLiteral("a"); }
