#pragma once
// One book opened by lindar-cli: the package model with in-memory panes attached, as the
// editor's document attaches its panes. Removes the work folder it made when it ends.
#include "package/ePubMain.h"
#include "platform/controls/MemoryGrid.h"
#include "platform/controls/MemoryTree.h"

#include <QString>

#include <memory>

namespace cli {

class BookSession {
public:
    BookSession();
    ~BookSession();
    BookSession(const BookSession&) = delete;
    BookSession& operator=(const BookSession&) = delete;

    // Opens the book file; false when it was refused (the model has said why, if it does).
    bool open(const QString& bookFilePath);
    // Makes a new book from the skeleton; false when it could not be made.
    bool create();
    // Rewrites the package files from the panes, in the editor's save order, for the book
    // to be packed into `archivePath`. False, with `failure` saying which file and why,
    // when one could not be written.
    bool savePackageFiles(const QString& archivePath, QString* failure);
    // Packs the work folder into `archivePath`.
    bool saveAs(const QString& archivePath);

    CePubContainerFormat& container() { return m_model->GetContainer(); }
    const CePubContainerFormat& container() const { return m_model->GetContainer(); }
    const platform::MemoryTree& manifestTree() const { return m_manifestTree; }
    const platform::MemoryTree& spineTree() const { return m_spineTree; }
    const platform::MemoryTree& navigationTree() const { return m_navigationTree; }
    platform::MemoryGrid& metadataGrid() { return m_metadataGrid; }
    const platform::MemoryGrid& metadataGrid() const { return m_metadataGrid; }

private:
    void attachPanes();
    void clearPanes();

    // The panes outlive the model, which keeps pointers to them.
    platform::MemoryTree m_manifestTree;
    platform::MemoryTree m_spineTree;
    platform::MemoryTree m_navigationTree;
    platform::MemoryGrid m_metadataGrid;
    std::unique_ptr<CePubMain> m_model;
};

} // namespace cli
