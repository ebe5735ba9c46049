#pragma once
#include <QObject>

class CManiView;
class CNaviView;
class COutputWnd;
class CPaneHost;
class CPropertiesWnd;
class CSpineView;
class CStyleView;
class QMainWindow;

namespace platform {
class DockPane;
class QtPropertyGrid;
class QtTreeControl;
} // namespace platform

// The main window's docking panes and the controls in them. The trees and the grid are the
// live book model while a book is open; the package model fills and reads them.
class CBookPanes : public QObject {
    Q_OBJECT
public:
    // The panes reach the open book and its chapter view through `host`.
    CBookPanes(QMainWindow* frame, CPaneHost& host);

    // Creates the six panes in their order and places them; false if one cannot be made.
    bool Create();
    // Shows the navigation, spine, style and properties panes without activating one.
    void ShowWorkPanes();

    platform::QtTreeControl* NavigationTree() const;
    platform::QtTreeControl* ManifestTree() const;
    platform::QtTreeControl* SpineTree() const;
    CNaviView* NaviView() const { return m_naviView; }
    CManiView* ManiView() const { return m_maniView; }
    CSpineView* SpineView() const { return m_spineView; }
    CPropertiesWnd* PropertiesWnd() const { return m_propertiesWnd; }
    platform::QtPropertyGrid* PropertyGrid() const;
    CStyleView* StyleView() const { return m_styleView; }
    COutputWnd* OutputWnd() const { return m_outputWnd; }

    platform::DockPane* NaviPane() const { return m_naviPane; }
    platform::DockPane* ManiPane() const { return m_maniPane; }
    platform::DockPane* StylePane() const { return m_stylePane; }
    platform::DockPane* SpinePane() const { return m_spinePane; }
    platform::DockPane* OutputPane() const { return m_outputPane; }
    platform::DockPane* PropertiesPane() const { return m_propertiesPane; }

private:
    platform::DockPane* MakePane(int captionId, int id, QWidget* content, int iconIndex);

    QMainWindow* m_frame;
    CPaneHost& m_host;
    CNaviView* m_naviView = nullptr;
    CManiView* m_maniView = nullptr;
    CSpineView* m_spineView = nullptr;
    CPropertiesWnd* m_propertiesWnd = nullptr;
    CStyleView* m_styleView = nullptr;
    COutputWnd* m_outputWnd = nullptr;
    platform::DockPane* m_naviPane = nullptr;
    platform::DockPane* m_maniPane = nullptr;
    platform::DockPane* m_stylePane = nullptr;
    platform::DockPane* m_spinePane = nullptr;
    platform::DockPane* m_outputPane = nullptr;
    platform::DockPane* m_propertiesPane = nullptr;
};
