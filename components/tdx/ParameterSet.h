#pragma once
// The named values an action reads and writes: plain items, item arrays and sub-sets.
// Sets are shared by reference (like the dispatch objects they stand for): a sub-set or
// array obtained from a set is the one the set holds.
#include "components/tdx/ItemArray.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace tdx {

class ParameterSet {
public:
    explicit ParameterSet(QString setId) : m_setId(std::move(setId)) {}

    QString setId() const { return m_setId; }

    bool hasItem(const QString& name) const { return m_items.contains(name); }
    // An absent item reads as an invalid variant.
    QVariant item(const QString& name) const { return m_items.value(name); }
    int intItem(const QString& name, int fallback = 0) const;
    void setItem(const QString& name, const QVariant& value) { m_items.insert(name, value); }
    void removeItem(const QString& name) { m_items.remove(name); }
    QStringList itemNames() const { return m_items.keys(); }

    // Makes the array, or resizes and returns the one already there, so that a caller who
    // made it before the action filled its defaults still holds the set's own array.
    std::shared_ptr<ItemArray> createItemArray(const QString& name, int count);
    std::shared_ptr<ItemArray> itemArray(const QString& name) const { return m_arrays.value(name); }

    // Makes the sub-set, or returns the one already there.
    std::shared_ptr<ParameterSet> createItemSet(const QString& name, const QString& setId);
    std::shared_ptr<ParameterSet> itemSet(const QString& name) const { return m_sets.value(name); }

    // A deep copy: the copy shares nothing with this set.
    std::shared_ptr<ParameterSet> clone() const;

private:
    QString m_setId;
    QMap<QString, QVariant> m_items;
    QMap<QString, std::shared_ptr<ItemArray>> m_arrays;
    QMap<QString, std::shared_ptr<ParameterSet>> m_sets;
};

using ParameterSetPtr = std::shared_ptr<ParameterSet>;

} // namespace tdx
