#include "panes/PaneImages.h"

#include "panes/PaneCommandIds.h"

#include <QApplication>
#include <QStyle>

namespace PaneImages {
namespace {

QIcon standardIcon(QStyle::StandardPixmap pixmap) { return QApplication::style()->standardIcon(pixmap); }

} // namespace

QList<QIcon> NavigationStrip()
{
    return {standardIcon(QStyle::SP_DirHomeIcon), standardIcon(QStyle::SP_DirIcon),
            standardIcon(QStyle::SP_FileIcon)};
}

QList<QIcon> FileTypeStrip()
{
    return {standardIcon(QStyle::SP_FileIcon),          standardIcon(QStyle::SP_FileDialogDetailedView),
            standardIcon(QStyle::SP_DesktopIcon),       standardIcon(QStyle::SP_DesktopIcon),
            standardIcon(QStyle::SP_DesktopIcon),       standardIcon(QStyle::SP_DesktopIcon),
            standardIcon(QStyle::SP_FileDialogInfoView)};
}

QIcon ToolBarIcon(int commandId)
{
    switch (commandId) {
    case panecmd::MoveUp:
        return standardIcon(QStyle::SP_ArrowUp);
    case panecmd::MoveDown:
        return standardIcon(QStyle::SP_ArrowDown);
    case panecmd::Demote:
        return standardIcon(QStyle::SP_ArrowRight);
    case panecmd::Promote:
        return standardIcon(QStyle::SP_ArrowLeft);
    case panecmd::AddChapterButton:
        return standardIcon(QStyle::SP_FileDialogNewFolder);
    case panecmd::InsertBookmarkButton:
        return standardIcon(QStyle::SP_FileLinkIcon);
    case panecmd::AddAttributeButton:
        return standardIcon(QStyle::SP_FileDialogNewFolder);
    case panecmd::DeleteAttributeButton:
        return standardIcon(QStyle::SP_TrashIcon);
    default:
        return QIcon();
    }
}

} // namespace PaneImages
