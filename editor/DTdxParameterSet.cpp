#include "editor/DTdxParameterSet.h"

QString CDTdxParameterSet::GetSetId() const
{
    return m_set ? m_set->setId() : QString();
}

QVariant CDTdxParameterSet::GetItem(const QString& name) const
{
    return m_set ? m_set->item(name) : QVariant();
}

long CDTdxParameterSet::GetItemLong(const QString& name) const
{
    return m_set ? m_set->intItem(name, 0) : 0;
}

void CDTdxParameterSet::SetItem(const QString& name, const QVariant& value)
{
    if (m_set)
        m_set->setItem(name, value);
}

CDTdxParameterArray CDTdxParameterSet::CreateItemArray(const QString& name, long count)
{
    return m_set ? CDTdxParameterArray(m_set->createItemArray(name, int(count))) : CDTdxParameterArray();
}

CDTdxParameterSet CDTdxParameterSet::CreateItemSet(const QString& name, const QString& setId)
{
    return m_set ? CDTdxParameterSet(m_set->createItemSet(name, setId)) : CDTdxParameterSet();
}
