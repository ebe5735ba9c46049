#include "editor/BookPanes.h"

#include "editor/CommandIds.h"
#include "editor/StringTable.h"
#include "platform/ui/DockPane.h"
#include "platform/ui/QtPropertyGrid.h"
#include "platform/ui/QtTreeControl.h"

#include <QApplication>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QStyle>

namespace {

QIcon standardIcon(QStyle::StandardPixmap pixmap) { return QApplication::style()->standardIcon(pixmap); }

// Item images of the navigation tree: title, entry, content.
QList<QIcon> navigationImages()
{
    return {standardIcon(QStyle::SP_DirHomeIcon), standardIcon(QStyle::SP_DirIcon),
            standardIcon(QStyle::SP_FileIcon)};
}

// Item images of the manifest and spine trees, by file type.
QList<QIcon> fileTypeImages()
{
    return {standardIcon(QStyle::SP_FileIcon), standardIcon(QStyle::SP_FileDialogDetailedView),
            standardIcon(QStyle::SP_DesktopIcon), standardIcon(QStyle::SP_DesktopIcon),
            standardIcon(QStyle::SP_DesktopIcon), standardIcon(QStyle::SP_DesktopIcon),
            standardIcon(QStyle::SP_FileDialogInfoView)};
}

platform::QtTreeControl* makeTree(const QList<QIcon>& images, const QString& placeholder)
{
    auto* tree = new platform::QtTreeControl;
    tree->SetImageList(images);
    tree->setItemsExpandable(true);
    // Shown until the first book is opened or created; not put back later.
    tree->SetItemBold(tree->InsertItem(placeholder, 0), true);
    return tree;
}

} // namespace

CBookPanes::CBookPanes(QMainWindow* frame)
    : QObject(frame)
    , m_frame(frame)
{
}

platform::DockPane* CBookPanes::MakePane(int captionId, int id, QWidget* content, int iconIndex)
{
    static const QStyle::StandardPixmap icons[] = {
        QStyle::SP_FileDialogListView, QStyle::SP_FileDialogContentsView, QStyle::SP_FileDialogDetailedView,
        QStyle::SP_BrowserReload, QStyle::SP_MessageBoxInformation, QStyle::SP_FileDialogInfoView};
    auto* pane = new platform::DockPane(CStringTable::Load(captionId), id, content, m_frame);
    pane->setPaneIcon(standardIcon(icons[iconIndex]));
    return pane;
}

bool CBookPanes::Create()
{
    m_navTree = makeTree(navigationImages(), QStringLiteral("표시할 정보가 없습니다."));
    m_naviPane = MakePane(155, pane::Navigation, m_navTree, 0);

    m_maniTree = makeTree(fileTypeImages(), QStringLiteral("표시할 정보가 없습니다."));
    m_maniPane = MakePane(156, pane::Manifest, m_maniTree, 1);
    m_maniPane->setEnabled(false); // holds the manifest; never shown
    m_maniPane->hide();

    m_styleList = new QListWidget;
    m_stylePane = MakePane(101, pane::Style, m_styleList, 2);

    m_spineTree = makeTree(fileTypeImages(), QStringLiteral("표시할 데이터가 없습니다."));
    m_spinePane = MakePane(401, pane::Spine, m_spineTree, 3);

    m_output = new QPlainTextEdit;
    m_output->setReadOnly(true);
    m_outputPane = MakePane(157, pane::Output, m_output, 4);
    m_outputPane->setAllowedAreas(Qt::BottomDockWidgetArea);
    m_outputPane->hide(); // a bottom pane the frame does not dock

    m_grid = new platform::QtPropertyGrid;
    m_propertiesPane = MakePane(158, pane::Properties, m_grid, 5);
    m_propertiesPane->setAllowedAreas(Qt::RightDockWidgetArea);

    for (platform::DockPane* pane : {m_naviPane, m_spinePane, m_stylePane})
        pane->setAllowedAreas(Qt::AllDockWidgetAreas);
    m_frame->addDockWidget(Qt::LeftDockWidgetArea, m_naviPane);
    m_frame->tabifyDockWidget(m_naviPane, m_spinePane);
    m_spinePane->raise();
    m_frame->tabifyDockWidget(m_naviPane, m_stylePane);
    m_stylePane->raise();
    m_frame->addDockWidget(Qt::RightDockWidgetArea, m_propertiesPane);
    m_frame->resizeDocks({m_naviPane, m_propertiesPane}, {220, 260}, Qt::Horizontal);
    return true;
}

void CBookPanes::ShowWorkPanes()
{
    for (platform::DockPane* pane : {m_naviPane, m_spinePane, m_stylePane, m_propertiesPane})
        pane->show();
}
