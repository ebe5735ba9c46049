#include "editor/RibbonBuilder.h"

#include "editor/CommandIds.h"
#include "platform/ui/RibbonBar.h"

#include <QApplication>
#include <QStyle>

namespace {

struct CommandText {
    int id;
    const char* label;
    const char* toolTip;
    QStyle::StandardPixmap icon;
    bool needsBook; // does something only while a book is open in a chapter view
};

const CommandText kCommands[] = {
    {cmd::NewFile, "새 파일", "새 Epub파일을 엽니다.", QStyle::SP_FileIcon, false},
    {cmd::FileOpen, "불러오기", "기존 Epub파일을 엽니다.", QStyle::SP_DialogOpenButton, false},
    {cmd::SaveBook, "저장하기", "Epub파일을 저장합니다.", QStyle::SP_DialogSaveButton, true},
    {cmd::SaveBookAs, "다른 이름으로 저장하기", "Epub파일을 다른이름으로 저장합니다.", QStyle::SP_DriveFDIcon, true},
    {cmd::CloseWindow, "현재 창 닫기", "현재편집중인 문서를 닫습니다.", QStyle::SP_DialogCloseButton, true},
    {cmd::AppExit, "프로그램종료", "프로그램을 종료합니다.", QStyle::SP_TitleBarCloseButton, false},
    {cmd::ShowPanes, "보기", "작업창 보기", QStyle::SP_FileDialogListView, false},
    {cmd::AboutRibbon, "프로그램 정보", "프로그램 정보", QStyle::SP_MessageBoxInformation, false},
    {cmd::ScmRegistration, "SCM 등록", "컨텐츠를 SCM에 등록합니다.", QStyle::SP_DriveNetIcon, true},
};

} // namespace

void CRibbonBuilder::Build(platform::RibbonBar& ribbon)
{
    for (const CommandText& command : kCommands)
        ribbon.addCommand(command.id, QString::fromUtf8(command.label), QString::fromUtf8(command.toolTip),
                          QApplication::style()->standardIcon(command.icon));

    ribbon.setApplicationButton(QStringLiteral("파일"));
    for (int id : {cmd::NewFile, cmd::FileOpen, cmd::SaveBook, cmd::SaveBookAs})
        ribbon.addApplicationMenuCommand(id);
    ribbon.addApplicationMenuSeparator();
    ribbon.setRecentFilesCaption(QStringLiteral("최근Epub문서"));
    ribbon.addApplicationMenuSeparator();
    ribbon.addApplicationMenuCommand(cmd::AppExit, QStringLiteral("프로그램 종료"));

    const int home = ribbon.addCategory(QStringLiteral("홈"));
    const int files = ribbon.addPanel(home, QStringLiteral("파일"));
    for (int id : {cmd::NewFile, cmd::FileOpen, cmd::SaveBook, cmd::SaveBookAs, cmd::CloseWindow})
        ribbon.addButton(home, files, id);
    ribbon.addButton(home, ribbon.addPanel(home, QStringLiteral("SCM 등록")), cmd::ScmRegistration);

    const int file = ribbon.addCategory(QStringLiteral("파일"));
    const int open = ribbon.addPanel(file, QStringLiteral("열기"));
    ribbon.addButton(file, open, cmd::NewFile);
    ribbon.addButton(file, open, cmd::FileOpen);
    const int save = ribbon.addPanel(file, QStringLiteral("저장"));
    ribbon.addButton(file, save, cmd::SaveBook);
    ribbon.addButton(file, save, cmd::SaveBookAs);
    const int end = ribbon.addPanel(file, QStringLiteral("종료"));
    ribbon.addButton(file, end, cmd::CloseWindow);
    ribbon.addButton(file, end, cmd::AppExit);

    const int view = ribbon.addCategory(QStringLiteral("보기"));
    ribbon.addButton(view, ribbon.addPanel(view, QStringLiteral("작업창 보기")), cmd::ShowPanes);

    const int help = ribbon.addCategory(QStringLiteral("도움말"));
    ribbon.addButton(help, ribbon.addPanel(help, QStringLiteral("프로그램정보")), cmd::AboutRibbon);
}

void CRibbonBuilder::EnableBookCommands(platform::RibbonBar& ribbon, bool bookOpen)
{
    for (const CommandText& command : kCommands)
        if (command.needsBook)
            ribbon.setCommandEnabled(command.id, bookOpen);
}
