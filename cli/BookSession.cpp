#include "cli/BookSession.h"

#include "panes/MetadataGridBuilder.h"
#include "platform/core/PathGuard.h"

#include <QDir>

namespace cli {

BookSession::BookSession()
    : m_model(std::make_unique<CePubMain>())
{
    attachPanes();
    container().GetZipWrapper().LoadLibraries();
}

BookSession::~BookSession()
{
    const QString workFolder = container().GetWorkFolderPath();
    m_model.reset();
    const QString base = CePubContainerFormat::GetWorkFolderBase(true);
    if (!workFolder.isEmpty() && QDir::cleanPath(workFolder) != QDir::cleanPath(base)
        && platform::IsInsideFolder(base, workFolder))
        QDir(workFolder).removeRecursively();
}

void BookSession::attachPanes()
{
    COPFManager& manager = container().GetPackage().GetOPFManager();
    manager.GetManifestManager().SetManifestTree(&m_manifestTree);
    manager.GetSpineManager().SetSpineTree(&m_spineTree);
    manager.GetSpineManager().SetManifestManager(&manager.GetManifestManager());
    manager.GetMetadata().SetMetadataGrid(&m_metadataGrid);
    manager.GetNCXManager().SetMetadataGrid(&m_metadataGrid);
    manager.GetNCXManager().SetNavigationTree(&m_navigationTree);
}

// As the editor does before a book is opened or created: empty trees, a fresh grid.
void BookSession::clearPanes()
{
    m_manifestTree.DeleteAllItems();
    m_spineTree.DeleteAllItems();
    m_navigationTree.DeleteAllItems();
    CMetadataGridBuilder::ResetGrid(m_metadataGrid);
}

bool BookSession::open(const QString& bookFilePath)
{
    clearPanes();
    return container().OpenEpub(bookFilePath);
}

bool BookSession::create()
{
    clearPanes();
    return container().CreateNewEpub();
}

void BookSession::savePackageFiles()
{
    COPFManager& manager = container().GetPackage().GetOPFManager();
    // Results are not examined, as in the editor: a book without a package has nothing to save.
    manager.GetNCXManager().SaveDocTitleAndAuthor();
    manager.GetNCXManager().SaveNavMap();
    manager.GetMetadata().SaveRequiredMetadata();
    manager.GetMetadata().SaveOptionalMetadata();
    manager.GetManifestManager().SaveManifest();
    manager.GetSpineManager().SaveSpine();
}

bool BookSession::saveAs(const QString& archivePath) { return container().SaveEpub(archivePath); }

} // namespace cli
