#include "editor/DTdxParameterArray.h"

long CDTdxParameterArray::GetCount() const
{
    return m_array ? m_array->count() : 0;
}

bool CDTdxParameterArray::SetItem(long index, const QVariant& value)
{
    return m_array && m_array->setItem(int(index), value);
}

QVariant CDTdxParameterArray::GetItem(long index) const
{
    return m_array ? m_array->item(int(index)) : QVariant();
}
