// The book document's chapter, bookmark and source commands: they change the table of
// contents, the manifest and the spine in their trees, and the chapter files on disk.
#include "editor/LindarDoc.h"

#include "editor/BookPanes.h"
#include "editor/DTdxCtrl0.h"
#include "editor/EditorTexts.h"
#include "editor/LindarView.h"
#include "editor/MainFrame.h"
#include "package/HrefPath.h"
#include "package/NewBookSkeleton.h"
#include "panes/AddBookmarkDlg.h"
#include "panes/AddContentsDlg.h"
#include "panes/BookReference.h"
#include "panes/SrcShowDlg.h"
#include "platform/core/MessageBox.h"
#include "platform/ui/ModalDialogs.h"
#include "platform/ui/QtTreeControl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

using platform::QtTreeControl;
using platform::TreeItem;

namespace {

constexpr int kEntry = CPackageNCXManager::NAV_ENTRY;
constexpr int kContent = CPackageNCXManager::NAV_CONTENT;
constexpr int kNotice = CPackageNCXManager::NAV_NOTICE;
const QString kChapterMediaType = QStringLiteral("application/xhtml+xml");

// A content or notice item stands for its entry.
TreeItem entryOf(const QtTreeControl& tree, TreeItem item)
{
    const int kind = tree.GetItemImage(item);
    return kind == kContent || kind == kNotice ? tree.GetParentItem(item) : item;
}

QString secondChildText(const QtTreeControl& tree, TreeItem item)
{
    const TreeItem first = tree.GetChildItem(item);
    const TreeItem second = first ? tree.GetNextSiblingItem(first) : nullptr;
    return second ? tree.GetItemText(second) : QString();
}

// A target's file part: before the first "#" when one stands at index 1 or later.
QString targetFile(const QString& target)
{
    const int hash = target.indexOf(QLatin1Char('#'));
    return hash >= 1 ? target.left(hash) : target;
}

bool isBookmarkTarget(const QString& target)
{
    return target.indexOf(QLatin1Char('#')) >= 1;
}

// Calls `visit` for every item below `item`, depth first.
template <typename Visit>
void walkBelow(const QtTreeControl& tree, TreeItem item, const Visit& visit)
{
    for (TreeItem child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child)) {
        visit(child);
        walkBelow(tree, child, visit);
    }
}

} // namespace

QString CLindarDoc::GetNcxFolder() const
{
    const QString ncx = GetNCXPath();
    return ncx.isEmpty() ? GetPackageFolder() : BookReference::FolderOf(ncx);
}

void CLindarDoc::SaveStructure()
{
    COPFManager& opf = m_ePub.GetContainer().GetPackage().GetOPFManager();
    opf.GetNCXManager().SaveNavMap();
    opf.GetManifestManager().SaveManifest();
    opf.GetSpineManager().SaveSpine();
    ShowSpineTitles();
}

void CLindarDoc::AddChapter()
{
    QtTreeControl* tree = m_frame.Panes().NavigationTree();
    if (!tree || !tree->GetSelectedItem())
        return;
    CAddContentsDlg dialog(&m_frame);
    // The dialog proposes a name free in the reference path's folder: the NCX's.
    const QString ncx = GetNCXPath();
    dialog.SetReferencePath(ncx.isEmpty() ? GetNcxFolder() : ncx);
    if (platform::RunModalDialog(dialog) != QDialog::Accepted)
        return;
    AddChapterFile(dialog.GetLabel(), dialog.GetFileName());
}

bool CLindarDoc::AddChapterFile(const QString& label, const QString& fileName)
{
    CBookPanes& panes = m_frame.Panes();
    QtTreeControl* tree = panes.NavigationTree();
    QtTreeControl* manifest = panes.ManifestTree();
    QtTreeControl* spine = panes.SpineTree();
    if (!tree || !manifest || !spine || !tree->GetSelectedItem() || label.isEmpty())
        return false;
    TreeItem anchor = entryOf(*tree, tree->GetSelectedItem());
    TreeItem parent = anchor ? tree->GetParentItem(anchor) : nullptr;
    if (!parent)
        parent = anchor;

    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString id = dot >= 1 ? fileName.left(dot) : fileName;
    const QString chapterFile = id + QStringLiteral(".xhtml");
    const QString folder = GetNcxFolder();
    // The name is a plain file name in the chapter folder, and an existing chapter is never
    // written over.
    if (id.isEmpty() || id.contains(QLatin1Char('/')) || id == QLatin1String("..") || folder.isEmpty()
        || QFileInfo::exists(folder + chapterFile))
        return false;
    const QString path = folder + chapterFile;
    CNewBookSkeleton::WriteEmptyChapter(path);

    // The notice of an empty table of contents goes with its first entry.
    const TreeItem title = tree->GetRootItem();
    if (const TreeItem first = title ? tree->GetChildItem(title) : nullptr; first && tree->GetItemImage(first) == kNotice)
        tree->DeleteItem(first);
    // After a bookmark entry the new chapter goes one level up, after the bookmark's chapter.
    if (const TreeItem first = tree->GetChildItem(anchor); first && anchor != parent) {
        const QString text = tree->GetItemText(first);
        const int lastDot = text.lastIndexOf(QLatin1Char('.'));
        if (lastDot >= 0 && text.mid(lastDot).contains(QLatin1Char('#')) && tree->GetParentItem(parent)) {
            anchor = parent;
            parent = tree->GetParentItem(parent);
        }
    }
    const TreeItem entry = anchor == parent ? tree->InsertItem(label, kEntry, parent)
                                            : tree->InsertItemAfter(label, kEntry, parent, anchor);
    tree->InsertItem(chapterFile, kContent, entry);

    // The new chapter follows the anchor's chapter in the manifest and the reading order.
    const TreeItem anchorContent = tree->GetChildItem(anchor);
    const QString reference = anchorContent && tree->GetItemImage(anchorContent) == kContent
        ? BookReference::Resolve(folder, targetFile(tree->GetItemText(anchorContent)), GetWorkFolder())
        : QString();
    const QString packageFolder = GetPackageFolder();
    TreeItem manifestAfter = nullptr;
    QSet<QString> ids;
    for (TreeItem item = manifest->GetRootItem(); item; item = manifest->GetNextSiblingItem(item)) {
        ids.insert(manifest->GetItemText(item).trimmed());
        if (!manifestAfter && !reference.isEmpty()
            && ResolveHref(packageFolder, HrefWithoutFragment(secondChildText(*manifest, item))) == reference)
            manifestAfter = item;
    }
    // Manifest ids are unique: a taken one gets a number.
    QString itemId = id;
    for (int n = 2; ids.contains(itemId); ++n)
        itemId = id + QStringLiteral("_%1").arg(n);
    const QString href = QDir(packageFolder).relativeFilePath(path);
    const TreeItem item = manifestAfter ? manifest->InsertItemAfter(itemId, 0, nullptr, manifestAfter)
                                        : manifest->InsertItem(itemId, 0);
    manifest->InsertItem(kChapterMediaType, 1, item);
    manifest->InsertItem(href, 0, item);

    TreeItem spineAfter = nullptr;
    const QString anchorId = manifestAfter ? manifest->GetItemText(manifestAfter).trimmed() : QString();
    for (TreeItem ref = spine->GetRootItem(); ref && !anchorId.isEmpty(); ref = spine->GetNextSiblingItem(ref)) {
        if (spine->GetItemText(ref).trimmed() == anchorId) {
            spineAfter = ref;
            break;
        }
    }
    const TreeItem ref = spineAfter ? spine->InsertItemAfter(itemId, 0, nullptr, spineAfter) : spine->InsertItem(itemId, 0);
    spine->InsertItem(kChapterMediaType, 6, ref);
    spine->InsertItem(chapterFile, 0, ref);

    SaveStructure();

    if (CLindarView* view = GetView()) {
        tree->SelectItem(entry); // the navigation pane opens the new chapter
        view->PrepareNewChapter(path);
    }
    return true;
}

QString CLindarDoc::FreeBookmarkName() const
{
    const QtTreeControl* tree = m_frame.Panes().NavigationTree();
    QSet<QString> used;
    if (tree && tree->GetRootItem()) {
        walkBelow(*tree, tree->GetRootItem(), [&](TreeItem item) {
            const TreeItem first = tree->GetChildItem(item);
            if (!first)
                return;
            const QString text = tree->GetItemText(first);
            used.insert(text.mid(text.lastIndexOf(QLatin1Char('#')) + 1));
        });
    }
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("b%1").arg(n);
        if (!used.contains(name))
            return name;
    }
}

void CLindarDoc::InsertBookmark()
{
    QtTreeControl* tree = m_frame.Panes().NavigationTree();
    if (!tree || !tree->GetSelectedItem())
        return;
    if (platform::ShowMessage(texts::BookmarkQuestion(), texts::AppTitle(), platform::MessageButtons::YesNo)
        != platform::MessageResult::Yes)
        return;
    CAddBookmarkDlg dialog(&m_frame);
    if (platform::RunModalDialog(dialog) != QDialog::Accepted)
        return;
    const QString name = FreeBookmarkName();
    if (m_pCtrl) {
        CDTdxAction action = m_pCtrl->CreateAction(QStringLiteral("Bookmark"));
        CDTdxParameterSet set = action.CreateSet();
        action.GetDefault(set);
        set.SetItem(QStringLiteral("Name"), name);
        set.SetItem(QStringLiteral("Command"), 0);
        action.Execute(set);
    }
    CLindarView* view = GetView();
    // An entry needs the chapter it points into.
    if (!view || view->m_strChapterPath.isEmpty())
        return;
    const TreeItem parent = entryOf(*tree, tree->GetSelectedItem());
    if (!parent)
        return;
    const QString target = QDir(GetNcxFolder()).relativeFilePath(view->m_strChapterPath) + QLatin1Char('#') + name;
    const TreeItem entry = tree->InsertItem(dialog.GetLabel(), kEntry, parent);
    tree->InsertItem(target, kContent, entry);
    tree->SelectItem(entry);
}

void CLindarDoc::DeleteContent()
{
    CBookPanes& panes = m_frame.Panes();
    QtTreeControl* tree = panes.NavigationTree();
    QtTreeControl* manifest = panes.ManifestTree();
    QtTreeControl* spine = panes.SpineTree();
    const TreeItem item = tree ? tree->GetSelectedItem() : nullptr;
    const TreeItem entry = item ? tree->GetParentItem(item) : nullptr;
    if (!entry || tree->GetItemImage(item) != kContent || !manifest || !spine)
        return;
    if (tree->GetNextSiblingItem(item)) {
        platform::ShowMessage(texts::DeleteSubEntriesFirst(), texts::AppTitle(), platform::MessageButtons::Ok);
        return;
    }
    if (platform::ShowMessage(texts::DeleteContentQuestion(), texts::AppTitle(), platform::MessageButtons::YesNo)
        != platform::MessageResult::Yes)
        return;
    const QString text = tree->GetItemText(item);

    if (isBookmarkTarget(text)) {
        const QString name = text.mid(text.lastIndexOf(QLatin1Char('#')) + 1);
        if (m_pCtrl) {
            CDTdxAction action = m_pCtrl->CreateAction(QStringLiteral("Bookmark"));
            CDTdxParameterSet set = action.CreateSet();
            action.GetDefault(set);
            set.SetItem(QStringLiteral("Name"), name);
            set.SetItem(QStringLiteral("Command"), 3);
            action.Execute(set);
        }
        tree->DeleteItem(entry); // the NCX follows at the next save
        return;
    }

    const QString folder = GetNcxFolder();
    const QString file = BookReference::Resolve(folder, text, GetWorkFolder());
    tree->DeleteItem(entry);
    // A chapter another entry still points into stays in the book: only the entry goes.
    bool stillNamed = false;
    if (!file.isEmpty() && tree->GetRootItem()) {
        walkBelow(*tree, tree->GetRootItem(), [&](TreeItem other) {
            if (tree->GetItemImage(other) == kContent
                && BookReference::Resolve(folder, targetFile(tree->GetItemText(other)), GetWorkFolder()) == file)
                stillNamed = true;
        });
    }
    if (!stillNamed) {
        const QString packageFolder = GetPackageFolder();
        QString removedId;
        for (TreeItem mi = manifest->GetRootItem(); mi; mi = manifest->GetNextSiblingItem(mi)) {
            const QString href = HrefWithoutFragment(secondChildText(*manifest, mi));
            if (file.isEmpty() ? href == text : ResolveHref(packageFolder, href) == file) {
                removedId = manifest->GetItemText(mi).trimmed();
                manifest->DeleteItem(mi);
                break;
            }
        }
        const QString fileName = QFileInfo(text).fileName();
        for (TreeItem ref = spine->GetRootItem(); ref; ref = spine->GetNextSiblingItem(ref)) {
            if (removedId.isEmpty() ? secondChildText(*spine, ref) == fileName
                                    : spine->GetItemText(ref).trimmed() == removedId) {
                spine->DeleteItem(ref);
                break;
            }
        }
        if (!file.isEmpty()) {
            m_ePub.GetContainer().GetPackage().GetOPFManager().DropGuideReferences(file);
            // The view lets go of a chapter that is no longer there.
            if (CLindarView* view = GetView(); view && QDir::cleanPath(view->m_strChapterPath) == file)
                view->CloseChapter();
            QFile::remove(file);
        }
    }
    SaveStructure();
}

void CLindarDoc::ShowSource(const QString& path, const QString& title)
{
    if (!GetView() || path.isEmpty())
        return;
    CSrcShowDlg dialog(&m_frame);
    dialog.SetCaption(title);
    dialog.SetFilePath(path);
    platform::RunModalDialog(dialog);
}

void CLindarDoc::ShowSelectedSource()
{
    const QtTreeControl* tree = m_frame.Panes().NavigationTree();
    const TreeItem item = tree ? tree->GetSelectedItem() : nullptr;
    if (!item)
        return;
    if (tree->GetItemImage(item) != kContent) {
        ShowNcxSource();
        return;
    }
    // Nothing outside the book is shown.
    ShowSource(BookReference::Resolve(GetNcxFolder(), targetFile(tree->GetItemText(item)), GetWorkFolder()),
               texts::SelectedSourceTitle());
}

void CLindarDoc::ShowPackageSource() { ShowSource(GetPackagePath(), texts::PackageSourceTitle()); }

void CLindarDoc::ShowNcxSource() { ShowSource(GetNCXPath(), texts::NcxSourceTitle()); }

void CLindarDoc::ShowChapterSource(const QString& title)
{
    if (CLindarView* view = GetView())
        ShowSource(view->m_strChapterPath, title);
}
