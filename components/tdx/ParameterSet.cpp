#include "components/tdx/ParameterSet.h"

namespace tdx {

int ParameterSet::intItem(const QString& name, int fallback) const
{
    bool ok = false;
    const int value = m_items.value(name).toInt(&ok);
    return ok ? value : fallback;
}

std::shared_ptr<ItemArray> ParameterSet::createItemArray(const QString& name, int count)
{
    auto& array = m_arrays[name];
    if (array)
        array->resize(count);
    else
        array = std::make_shared<ItemArray>(count);
    return array;
}

std::shared_ptr<ParameterSet> ParameterSet::createItemSet(const QString& name, const QString& setId)
{
    auto& set = m_sets[name];
    if (!set)
        set = std::make_shared<ParameterSet>(setId);
    return set;
}

std::shared_ptr<ParameterSet> ParameterSet::clone() const
{
    auto copy = std::make_shared<ParameterSet>(m_setId);
    copy->m_items = m_items;
    for (auto it = m_arrays.cbegin(); it != m_arrays.cend(); ++it)
        copy->m_arrays.insert(it.key(), std::make_shared<ItemArray>(*it.value()));
    for (auto it = m_sets.cbegin(); it != m_sets.cend(); ++it)
        copy->m_sets.insert(it.key(), it.value()->clone());
    return copy;
}

} // namespace tdx
