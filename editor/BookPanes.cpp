#include "editor/BookPanes.h"

#include "editor/CommandIds.h"
#include "editor/StringTable.h"
#include "panes/ManiView.h"
#include "panes/NaviView.h"
#include "panes/OutputWnd.h"
#include "panes/PropertiesWnd.h"
#include "panes/SpineView.h"
#include "panes/StyleView.h"
#include "platform/ui/DockPane.h"
#include "platform/ui/QtPropertyGrid.h"
#include "platform/ui/QtTreeControl.h"

#include <QApplication>
#include <QMainWindow>
#include <QStyle>

namespace {

QIcon standardIcon(QStyle::StandardPixmap pixmap) { return QApplication::style()->standardIcon(pixmap); }

} // namespace

CBookPanes::CBookPanes(QMainWindow* frame, CPaneHost& host)
    : QObject(frame)
    , m_frame(frame)
    , m_host(host)
{
}

platform::QtTreeControl* CBookPanes::NavigationTree() const { return m_naviView ? m_naviView->Tree() : nullptr; }
platform::QtTreeControl* CBookPanes::ManifestTree() const { return m_maniView ? m_maniView->Tree() : nullptr; }
platform::QtTreeControl* CBookPanes::SpineTree() const { return m_spineView ? m_spineView->Tree() : nullptr; }
platform::QtPropertyGrid* CBookPanes::PropertyGrid() const { return m_propertiesWnd ? m_propertiesWnd->Grid() : nullptr; }

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
    m_naviView = new CNaviView(m_host);
    m_naviPane = MakePane(155, pane::Navigation, m_naviView, 0);

    m_maniView = new CManiView;
    m_maniPane = MakePane(156, pane::Manifest, m_maniView, 1);
    m_maniPane->setEnabled(false); // holds the manifest; never shown
    m_maniPane->hide();

    m_styleView = new CStyleView(m_host);
    m_stylePane = MakePane(101, pane::Style, m_styleView, 2);

    m_spineView = new CSpineView(m_host, *m_maniView->Tree());
    m_spinePane = MakePane(401, pane::Spine, m_spineView, 3);

    m_outputWnd = new COutputWnd;
    m_outputPane = MakePane(157, pane::Output, m_outputWnd, 4);
    m_outputPane->setAllowedAreas(Qt::BottomDockWidgetArea);
    m_outputPane->hide(); // a bottom pane the frame does not dock

    m_propertiesWnd = new CPropertiesWnd(m_host);
    m_propertiesPane = MakePane(158, pane::Properties, m_propertiesWnd, 5);
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
