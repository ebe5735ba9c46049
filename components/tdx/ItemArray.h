#pragma once
// A fixed-size list of values inside a parameter set (for example the style names of a
// style-file export). Shared by reference: what a caller sets is what the action reads.
#include <QList>
#include <QVariant>

namespace tdx {

class ItemArray {
public:
    explicit ItemArray(int count) : m_items(qMax(0, count)) {}

    int count() const { return int(m_items.size()); }
    void resize(int count) { m_items.resize(qMax(0, count)); }
    // False when the index is outside the array; nothing changes then.
    bool setItem(int index, const QVariant& value);
    QVariant item(int index) const;

private:
    QList<QVariant> m_items;
};

} // namespace tdx
