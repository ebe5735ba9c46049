#include "editor/RecentFileList.h"

#include "editor/Profile.h"

#include <QDir>

namespace {
const QString kSection = QStringLiteral("Recent File List");
} // namespace

CRecentFileList::CRecentFileList(int size)
    : m_size(size)
{
}

void CRecentFileList::ReadList()
{
    m_entries.clear();
    auto profile = CProfile::Open();
    profile->beginGroup(kSection);
    for (int i = 1; i <= m_size; ++i) {
        const QString path = profile->value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty() && !m_entries.contains(path))
            m_entries.append(path);
    }
}

void CRecentFileList::WriteList() const
{
    auto profile = CProfile::Open();
    profile->beginGroup(kSection);
    for (int i = 1; i <= m_size; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= m_entries.size())
            profile->setValue(key, m_entries.at(i - 1));
        else
            profile->remove(key);
    }
}

void CRecentFileList::Add(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    if (clean.isEmpty())
        return;
    m_entries.removeAll(clean);
    m_entries.prepend(clean);
    while (m_entries.size() > m_size)
        m_entries.removeLast();
    WriteList();
}

void CRecentFileList::Remove(const QString& path)
{
    if (m_entries.removeAll(path) > 0)
        WriteList();
}
