#include "components/tdx/Markup.h"

namespace tdx {

namespace {

template <typename T>
const T* entry(const QList<T>& list, int id)
{
    return id > 0 && id <= list.size() ? &list.at(id - 1) : nullptr;
}

} // namespace

QString Element::attribute(QLatin1String wanted) const
{
    for (const auto& [name, value] : attributes)
        if (name == wanted)
            return value;
    return QString();
}

void MarkupTable::clear()
{
    *this = MarkupTable();
}

int MarkupTable::element(const QString& name, const Attributes& attributes)
{
    QString key = name;
    for (const auto& [attribute, value] : attributes)
        key += QChar(1) + attribute + QChar(2) + value;
    if (const auto it = m_elementIds.constFind(key); it != m_elementIds.cend())
        return it.value();
    m_elements.append({name, attributes});
    const int id = int(m_elements.size());
    m_elementIds.insert(key, id);
    return id;
}

int MarkupTable::newWrapper(int element)
{
    m_wrappers.append(element);
    return int(m_wrappers.size());
}

int MarkupTable::block(int element, const QList<int>& wrappers, const std::function<void(BlockMarkup&)>& make)
{
    QString key = QString::number(element);
    for (int wrapper : wrappers)
        key += ',' + QString::number(wrapper);
    if (const auto it = m_blockIds.constFind(key); it != m_blockIds.cend())
        return it.value();
    BlockMarkup markup;
    markup.element = element;
    markup.wrappers = wrappers;
    make(markup);
    m_blocks.append(markup);
    const int id = int(m_blocks.size());
    m_blockIds.insert(key, id);
    return id;
}

const BlockMarkup* MarkupTable::blockAt(int id) const
{
    return entry(m_blocks, id);
}

int MarkupTable::inlineChain(int outer, int element, bool second, const std::function<void(InlineMarkup&)>& make)
{
    const QPair<int, int> key(outer, element * 2 + (second ? 1 : 0));
    if (const auto it = m_inlineIds.constFind(key); it != m_inlineIds.cend())
        return it.value();
    InlineMarkup markup;
    if (const InlineMarkup* parent = inlineAt(outer))
        markup = *parent;
    markup.elements.append(element);
    markup.chains.append(int(m_inlines.size()) + 1);
    make(markup);
    m_inlines.append(markup);
    const int id = int(m_inlines.size());
    m_inlineIds.insert(key, id);
    return id;
}

const InlineMarkup* MarkupTable::inlineAt(int id) const
{
    return entry(m_inlines, id);
}

int MarkupTable::addTable(TableMarkup table)
{
    m_tables.append(std::move(table));
    return int(m_tables.size());
}

const TableMarkup* MarkupTable::tableAt(int id) const
{
    return entry(m_tables, id);
}

int MarkupTable::addIsland(Island island)
{
    m_islands.append(std::move(island));
    return int(m_islands.size());
}

const Island* MarkupTable::islandAt(int id) const
{
    return entry(m_islands, id);
}

} // namespace tdx
