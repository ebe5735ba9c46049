#include "components/tdx/ItemArray.h"

namespace tdx {

bool ItemArray::setItem(int index, const QVariant& value)
{
    if (index < 0 || index >= m_items.size())
        return false;
    m_items[index] = value;
    return true;
}

QVariant ItemArray::item(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index) : QVariant();
}

} // namespace tdx
