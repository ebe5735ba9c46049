#pragma once
#include <QStringList>

// The recent-file list, kept in the profile under "Recent File List" as "File1" (newest)
// to "File4".
class CRecentFileList {
public:
    explicit CRecentFileList(int size = 4);

    void ReadList();
    void WriteList() const;
    // Moves the path to the front (adding it if new) and stores the list.
    void Add(const QString& path);
    void Remove(const QString& path);
    const QStringList& Entries() const { return m_entries; }
    int Size() const { return m_size; }

private:
    int m_size;
    QStringList m_entries;
};
