#include "platform/controls/MemoryGrid.h"

namespace platform {

int MemoryGrid::AddGroup(const QString& name)
{
    m_groups.append({name, true, {}});
    return int(m_groups.size()) - 1;
}

QString MemoryGrid::GetGroupName(int group) const
{
    return group >= 0 && group < m_groups.size() ? m_groups[group].name : QString();
}

void MemoryGrid::CollapseGroup(int group)
{
    if (group >= 0 && group < m_groups.size())
        m_groups[group].expanded = false;
}

void MemoryGrid::ExpandGroup(int group)
{
    if (group >= 0 && group < m_groups.size())
        m_groups[group].expanded = true;
}

bool MemoryGrid::IsGroupExpanded(int group) const
{
    return group >= 0 && group < m_groups.size() && m_groups[group].expanded;
}

int MemoryGrid::GetRowCount(int group) const
{
    return group >= 0 && group < m_groups.size() ? int(m_groups[group].rows.size()) : 0;
}

int MemoryGrid::AddRow(int group, const QString& name, const QString& value, const QString& help)
{
    if (group < 0 || group >= m_groups.size())
        return -1;
    m_groups[group].rows.append({name, value, help, {}});
    return int(m_groups[group].rows.size()) - 1;
}

bool MemoryGrid::RemoveRow(int group, int index)
{
    if (!row(group, index))
        return false;
    m_groups[group].rows.removeAt(index);
    if (m_selectedGroup == group && m_selectedRow == index)
        m_selectedGroup = m_selectedRow = -1;
    return true;
}

const MemoryGrid::Row* MemoryGrid::row(int group, int index) const
{
    if (group < 0 || group >= m_groups.size() || index < 0 || index >= m_groups[group].rows.size())
        return nullptr;
    return &m_groups[group].rows[index];
}

MemoryGrid::Row* MemoryGrid::row(int group, int index)
{
    return const_cast<Row*>(static_cast<const MemoryGrid*>(this)->row(group, index));
}

QString MemoryGrid::GetRowName(int group, int index) const
{
    const Row* r = row(group, index);
    return r ? r->name : QString();
}

QString MemoryGrid::GetRowValue(int group, int index) const
{
    const Row* r = row(group, index);
    return r ? r->value : QString();
}

void MemoryGrid::SetRowValue(int group, int index, const QString& value)
{
    if (Row* r = row(group, index))
        r->value = value;
}

QString MemoryGrid::GetRowHelp(int group, int index) const
{
    const Row* r = row(group, index);
    return r ? r->help : QString();
}

QStringList MemoryGrid::GetRowOptions(int group, int index) const
{
    const Row* r = row(group, index);
    return r ? r->options : QStringList();
}

void MemoryGrid::SetRowOptions(int group, int index, const QStringList& options)
{
    if (Row* r = row(group, index))
        r->options = options;
}

void MemoryGrid::SelectRow(int group, int index)
{
    if (row(group, index)) {
        m_selectedGroup = group;
        m_selectedRow = index;
    } else {
        m_selectedGroup = m_selectedRow = -1;
    }
}

void MemoryGrid::RemoveAll()
{
    m_groups.clear();
    m_selectedGroup = m_selectedRow = -1;
}

} // namespace platform
