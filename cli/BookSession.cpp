#include "cli/BookSession.h"

#include "panes/MetadataGridBuilder.h"
#include "platform/core/PathGuard.h"

#include <QDir>
#include <QFileInfo>

namespace cli {

BookSession::BookSession()
    : m_model(std::make_unique<CePubMain>())
{
    attachPanes();
    container().GetZipWrapper().LoadLibraries();
    // Only the package files are read or written here: the rest stays in the book file.
    container().SetUnpackOnDemand(true);
}

BookSession::~BookSession()
{
    // Removed while the model still holds the folder, so no other program can have taken
    // it over in between.
    const QString workFolder = container().GetWorkFolderPath();
    const QString base = CePubContainerFormat::GetWorkFolderBase(true);
    if (!workFolder.isEmpty() && QDir::cleanPath(workFolder) != QDir::cleanPath(base)
        && platform::IsInsideFolder(base, workFolder))
        QDir(workFolder).removeRecursively();
    m_model.reset();
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

bool BookSession::savePackageFiles(const QString& archivePath, QString* failure)
{
    return container().GetPackage().GetOPFManager().SavePackageFiles(QFileInfo(archivePath).completeBaseName(),
                                                                      failure);
}

bool BookSession::saveAs(const QString& archivePath) { return container().SaveEpub(archivePath); }

} // namespace cli
