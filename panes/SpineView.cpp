#include "panes/SpineView.h"

#include "package/PackageNCXManager.h"
#include "panes/BookReference.h"
#include "panes/MoveTreeItem.h"
#include "panes/NaviToolBar.h"
#include "panes/PaneCommandIds.h"
#include "panes/PaneHost.h"
#include "panes/PaneImages.h"
#include "panes/PaneTexts.h"
#include "platform/ui/QtTreeControl.h"

#include <QDir>
#include <QHash>
#include <QUrl>

using platform::TreeControl;
using platform::TreeItem;

namespace {

// The href child of the manifest item with this id, or null.
TreeItem manifestHref(const TreeControl& manifest, const QString& id)
{
    for (TreeItem item = manifest.GetRootItem(); item; item = manifest.GetNextSiblingItem(item)) {
        if (manifest.GetItemText(item) == id)
            return manifest.GetNextSiblingItem(manifest.GetChildItem(item));
    }
    return nullptr;
}

QString withoutFragment(const QString& target) { return target.left(target.indexOf(QLatin1Char('#'))); }

} // namespace

CSpineView::CSpineView(CPaneHost& host, const TreeControl& manifest, QWidget* parent)
    : CTreePane(PaneImages::FileTypeStrip(), panetexts::NoData(), true, parent)
    , m_host(host)
    , m_manifest(manifest)
{
    Tree()->setObjectName(QStringLiteral("SpineTree"));
    Tree()->setContextMenuPolicy(Qt::NoContextMenu); // the spine menu is never shown
    ToolBar()->SetCommandEnabled(panecmd::MoveUp, true);
    ToolBar()->SetCommandEnabled(panecmd::MoveDown, true);
    connect(ToolBar(), &CNaviToolBar::commandTriggered, this, &CSpineView::OnCommand);
    connect(Tree(), &platform::QtTreeControl::itemSelected, this, &CSpineView::OnSelectionChanged);
}

void CSpineView::OnCommand(int id)
{
    if (id == panecmd::MoveUp)
        OnMoveUp();
    else if (id == panecmd::MoveDown)
        OnMoveDown();
}

TreeItem CSpineView::MovableSelection() const
{
    const platform::QtTreeControl& tree = *Tree();
    const TreeItem first = tree.GetRootItem();
    const TreeItem selected = tree.GetSelectedItem();
    if (!first || !tree.GetNextSiblingItem(first) || !selected || tree.GetParentItem(selected))
        return nullptr;
    return selected;
}

void CSpineView::OnMoveUp()
{
    const TreeItem item = MovableSelection();
    if (!item)
        return;
    const TreeItem previous = Tree()->GetPrevSiblingItem(item);
    MoveTreeItem(*Tree(), item, nullptr, previous ? Tree()->GetPrevSiblingItem(previous) : nullptr);
    Tree()->setFocus();
}

void CSpineView::OnMoveDown()
{
    const TreeItem item = MovableSelection();
    if (!item)
        return;
    const TreeItem next = Tree()->GetNextSiblingItem(item);
    MoveTreeItem(*Tree(), item, nullptr, next ? next : item);
    Tree()->setFocus();
}

QString CSpineView::ChapterPathOf(TreeItem entry, const QString& packageFolder, const QString& workFolder) const
{
    const TreeItem href = manifestHref(m_manifest, Tree()->GetItemText(entry));
    return href ? BookReference::Resolve(packageFolder, m_manifest.GetItemText(href), workFolder) : QString();
}

void CSpineView::OnSelectionChanged(TreeItem item)
{
    const platform::QtTreeControl& tree = *Tree();
    if (!item || !m_host.HasActiveView())
        return;
    const QString text = tree.GetItemText(item);
    if (!BookReference::HasChapterExtension(text))
        return;
    QString path = text;
    if (m_host.HasActiveDocument()) {
        // The child shows only the file name; the manifest knows the folder it lies in.
        const QString packageFolder = m_host.GetPackageFolder();
        const QString workFolder = m_host.GetWorkFolder();
        const TreeItem entry = tree.GetParentItem(item);
        path = entry ? ChapterPathOf(entry, packageFolder, workFolder) : QString();
        if (path.isEmpty())
            path = BookReference::Resolve(packageFolder, text, workFolder);
    }
    if (path.isEmpty() || path == QDir::cleanPath(m_host.GetChapterPath()))
        return;
    m_host.OpenChapter(path);
}

void CSpineView::ShowChapterTitles(const TreeControl& navigation, const QString& packageFolder,
                                   const QString& ncxPath)
{
    // Only texts are compared here, nothing is opened: both sides are decoded and cleaned
    // the same way, without asking the disk.
    auto key = [](const QString& folder, const QString& reference) {
        return QDir::cleanPath(folder + QLatin1Char('/') + QUrl::fromPercentEncoding(reference.toUtf8()));
    };
    const QString ncxFolder = ncxPath.isEmpty() ? packageFolder : BookReference::FolderOf(ncxPath);
    QHash<QString, QString> titles; // chapter -> label of its first entry, in reading order
    TreeItem item = navigation.GetRootItem();
    while (item) {
        const TreeItem first = navigation.GetChildItem(item);
        if (navigation.GetItemImage(item) == CPackageNCXManager::NAV_ENTRY && first
            && navigation.GetItemImage(first) == CPackageNCXManager::NAV_CONTENT) {
            const QString chapter = key(ncxFolder, withoutFragment(navigation.GetItemText(first)));
            if (!titles.contains(chapter))
                titles.insert(chapter, navigation.GetItemText(item));
        }
        if (first) {
            item = first;
            continue;
        }
        while (item && !navigation.GetNextSiblingItem(item))
            item = navigation.GetParentItem(item);
        if (item)
            item = navigation.GetNextSiblingItem(item);
    }

    QHash<QString, QString> hrefs; // manifest id -> href
    for (TreeItem entry = m_manifest.GetRootItem(); entry; entry = m_manifest.GetNextSiblingItem(entry)) {
        const TreeItem href = m_manifest.GetNextSiblingItem(m_manifest.GetChildItem(entry));
        if (href && !hrefs.contains(m_manifest.GetItemText(entry)))
            hrefs.insert(m_manifest.GetItemText(entry), m_manifest.GetItemText(href));
    }
    platform::QtTreeControl& tree = *Tree();
    for (TreeItem entry = tree.GetRootItem(); entry; entry = tree.GetNextSiblingItem(entry)) {
        const auto href = hrefs.constFind(tree.GetItemText(entry));
        tree.SetItemCaption(entry, href == hrefs.constEnd() ? QString() : titles.value(key(packageFolder, *href)));
    }
}
