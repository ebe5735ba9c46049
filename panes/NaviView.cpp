#include "panes/NaviView.h"

#include "package/PackageNCXManager.h"
#include "panes/BookReference.h"
#include "panes/NaviToolBar.h"
#include "panes/PaneCommandIds.h"
#include "panes/PaneHost.h"
#include "panes/PaneImages.h"
#include "panes/MoveTreeItem.h"
#include "panes/PaneTexts.h"
#include "platform/ui/QtTreeControl.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

using platform::TreeItem;

namespace {

constexpr int kTitle = CPackageNCXManager::NAV_TITLE;
constexpr int kEntry = CPackageNCXManager::NAV_ENTRY;
constexpr int kContent = CPackageNCXManager::NAV_CONTENT;
constexpr int kNotice = CPackageNCXManager::NAV_NOTICE;

bool isPaste(const QKeyEvent& key) { return key.key() == Qt::Key_V && (key.modifiers() & Qt::ControlModifier); }

} // namespace

CNaviView::CNaviView(CPaneHost& host, QWidget* parent)
    : CTreePane(PaneImages::NavigationStrip(), panetexts::NoInformation(), true, parent)
    , m_host(host)
{
    platform::QtTreeControl* tree = Tree();
    tree->setObjectName(QStringLiteral("NavigationTree"));
    tree->setContextMenuPolicy(Qt::DefaultContextMenu);
    tree->installEventFilter(this);
    tree->viewport()->installEventFilter(this);
    connect(tree, &platform::QtTreeControl::itemSelected, this, &CNaviView::OnSelectionChanged);
    connect(tree, &platform::QtTreeControl::labelEditEnded, this, &CNaviView::OnEndLabelEdit);
    for (int id : {panecmd::MoveUp, panecmd::MoveDown, panecmd::Demote, panecmd::Promote,
                   panecmd::AddChapterButton, panecmd::InsertBookmarkButton})
        ToolBar()->SetCommandEnabled(id, true);
    connect(ToolBar(), &CNaviToolBar::commandTriggered, this, &CNaviView::OnCommand);
    BuildContextMenu();
}

void CNaviView::BuildContextMenu()
{
    m_menu = new QMenu(panetexts::ContentMenu(), this);
    m_menu->setObjectName(QStringLiteral("컨텐츠팝업"));
    auto add = [this](QMenu* menu, int id, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { OnMenuCommand(id); });
    };
    add(m_menu, panecmd::ShowSource, panetexts::ShowSource());
    QMenu* addContent = m_menu->addMenu(panetexts::AddContentMenu());
    add(addContent, panecmd::AddChapter, panetexts::AddChapter());
    add(addContent, panecmd::InsertBookmark, panetexts::InsertBookmark());
    add(m_menu, panecmd::DeleteContent, panetexts::DeleteContent());
    add(m_menu, panecmd::RenameEntry, panetexts::RenameEntry());
    // Each entry asks the pane's flags whenever the menu opens.
    auto refresh = [this](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (!action->menu())
                action->setEnabled(IsMenuCommandEnabled(action->data().toInt()));
        }
    };
    connect(m_menu, &QMenu::aboutToShow, this, [this, refresh] { refresh(m_menu); });
    connect(addContent, &QMenu::aboutToShow, this, [addContent, refresh] { refresh(addContent); });
}

void CNaviView::OnCommand(int id)
{
    switch (id) {
    case panecmd::MoveUp:
        OnMoveUp();
        break;
    case panecmd::MoveDown:
        OnMoveDown();
        break;
    case panecmd::Demote:
        OnDemote();
        break;
    case panecmd::Promote:
        OnPromote();
        break;
    case panecmd::AddChapterButton:
    case panecmd::InsertBookmarkButton:
        RunDocumentCommand(id);
        break;
    default:
        break;
    }
}

TreeItem CNaviView::MovableSelection() const
{
    const platform::QtTreeControl& tree = *Tree();
    TreeItem selected = tree.GetSelectedItem();
    if (tree.GetCount() <= 2 || !selected || !tree.GetChildItem(selected))
        return nullptr;
    return selected;
}

void CNaviView::MoveSelected(TreeItem item, TreeItem parent, TreeItem after)
{
    MoveTreeItem(*Tree(), item, parent, after);
    Tree()->setFocus();
}

void CNaviView::OnMoveUp()
{
    const platform::QtTreeControl& tree = *Tree();
    TreeItem item = MovableSelection();
    if (!item)
        return;
    const TreeItem parent = tree.GetParentItem(item);
    const TreeItem previous = tree.GetPrevSiblingItem(item);
    if (previous && tree.GetPrevSiblingItem(previous)) {
        MoveSelected(item, parent, tree.GetPrevSiblingItem(previous));
        return;
    }
    // The content item keeps the first place under its entry.
    const int previousKind = previous ? tree.GetItemImage(previous) : -1;
    if (previousKind == kContent || previousKind == kNotice)
        MoveSelected(item, parent, previous);
    else
        MoveSelected(item, parent, nullptr);
}

void CNaviView::OnMoveDown()
{
    TreeItem item = MovableSelection();
    if (!item)
        return;
    const TreeItem next = Tree()->GetNextSiblingItem(item);
    MoveSelected(item, Tree()->GetParentItem(item), next ? next : item);
}

void CNaviView::OnDemote()
{
    TreeItem item = MovableSelection();
    if (!item)
        return;
    const TreeItem next = Tree()->GetNextSiblingItem(item);
    if (!next)
        return;
    // The first sub-entry of the following entry, right after that entry's content item.
    MoveSelected(item, next, Tree()->GetChildItem(next));
}

void CNaviView::OnPromote()
{
    TreeItem item = MovableSelection();
    if (!item)
        return;
    const TreeItem parent = Tree()->GetParentItem(item);
    // Entries right under the title item are already at the top.
    if (!parent || !Tree()->GetParentItem(parent))
        return;
    MoveSelected(item, Tree()->GetParentItem(parent), Tree()->GetPrevSiblingItem(parent));
}

void CNaviView::OnSelectionChanged(TreeItem item)
{
    platform::QtTreeControl& tree = *Tree();
    if (!item)
        return;
    if (tree.GetItemImage(item) == kEntry) {
        const TreeItem content = tree.GetChildItem(item);
        if (content && tree.GetItemImage(content) == kContent)
            item = content;
    }
    const QString text = tree.GetItemText(item);
    if (!m_host.HasActiveDocument() || !m_host.HasActiveView())
        return;

    const int lastHash = text.lastIndexOf(QLatin1Char('#'));
    const bool hasFragment = lastHash > 0;
    const QString fragment = hasFragment ? text.mid(lastHash + 1) : QString();
    const QString pathPart = hasFragment ? text.left(text.indexOf(QLatin1Char('#'))) : text;

    // Targets are written relative to the NCX file, which need not sit beside the package.
    const QString ncxPath = m_host.GetNCXPath();
    const QString folder = ncxPath.isEmpty() ? m_host.GetPackageFolder() : BookReference::FolderOf(ncxPath);
    const QString path = BookReference::Resolve(folder, pathPart, m_host.GetWorkFolder());
    if (path.isEmpty() || !BookReference::HasChapterExtension(path)) {
        tree.setFocus();
        return;
    }
    // The chapter already shown is not reopened, unless a bookmark in it is asked for.
    if (!hasFragment && path == QDir::cleanPath(m_host.GetChapterPath()))
        return;
    if (m_host.OpenChapter(path) && hasFragment)
        m_host.GoToBookmark(fragment);
    tree.setFocus();
}

void CNaviView::SetMenuFlags(int image)
{
    const bool titleOrEntry = image == kTitle || image == kEntry;
    const bool content = image == kContent;
    m_menuEnabled[panecmd::ShowSource] = titleOrEntry || content;
    m_menuEnabled[panecmd::AddChapter] = titleOrEntry;
    m_menuEnabled[panecmd::InsertBookmark] = titleOrEntry;
    m_menuEnabled[panecmd::RenameEntry] = titleOrEntry;
    m_menuEnabled[panecmd::DeleteContent] = content;
}

void CNaviView::OnContextMenu(const QPoint& screenPoint, bool fromMouse)
{
    platform::QtTreeControl& tree = *Tree();
    if (fromMouse) {
        const TreeItem hit = tree.HitTest(tree.viewport()->mapFromGlobal(screenPoint));
        if (hit)
            tree.SelectItem(hit);
        SetMenuFlags(hit ? tree.GetItemImage(hit) : -1);
    }
    tree.setFocus();
    m_menu->popup(screenPoint);
}

void CNaviView::OnMenuCommand(int id)
{
    if (id < panecmd::FirstMenuCommand || id > panecmd::LastMenuCommand)
        return;
    RunDocumentCommand(id);
}

void CNaviView::RunDocumentCommand(int id)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_host.HasActiveDocument())
        m_host.OnPaneCommand(id);
    QApplication::restoreOverrideCursor();
}

void CNaviView::OnEndLabelEdit(TreeItem item, const QString& text)
{
    platform::QtTreeControl& tree = *Tree();
    if (item && !text.isEmpty())
        tree.SetItemText(item, text);
    tree.SetLabelEditing(false);
}

bool CNaviView::FilterKey(QObject* watched, QEvent* event)
{
    auto* key = static_cast<QKeyEvent*>(event);
    platform::QtTreeControl& tree = *Tree();
    if (isPaste(*key)) {
        // Ctrl+V belongs to the pane: it pastes into the label while renaming and never
        // reaches the frame's paste command.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (event->type() == QEvent::KeyPress && tree.IsLabelEditing()) {
            if (QLineEdit* editor = tree.GetEditControl())
                editor->paste();
        }
        return true;
    }
    // Enter opens the current item's chapter again, or selects it first.
    if (watched == &tree && event->type() == QEvent::KeyPress
        && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        const TreeItem current = platform::QtTreeControl::fromQt(tree.currentItem());
        if (current && current != tree.GetSelectedItem())
            tree.SelectItem(current);
        else if (current)
            OnSelectionChanged(current);
        return true;
    }
    return false;
}

bool CNaviView::eventFilter(QObject* watched, QEvent* event)
{
    platform::QtTreeControl& tree = *Tree();
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
        if (FilterKey(watched, event))
            return true;
        break;
    case QEvent::ContextMenu:
        if (watched == &tree || watched == tree.viewport()) {
            auto* menuEvent = static_cast<QContextMenuEvent*>(event);
            OnContextMenu(menuEvent->globalPos(), menuEvent->reason() == QContextMenuEvent::Mouse);
            return true;
        }
        break;
    default:
        break;
    }
    return CTreePane::eventFilter(watched, event);
}
