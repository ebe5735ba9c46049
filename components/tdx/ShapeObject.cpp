#include "components/tdx/ShapeObject.h"

#include "components/tdx/EditorControl.h"

namespace tdx {

ShapeObject::ShapeObject(EditorControl* control, quint64 pictureId)
    : m_guard(control), m_control(control), m_pictureId(pictureId)
{
}

QString ShapeObject::id() const
{
    return m_pictureId ? QStringLiteral("gso") : QStringLiteral("end");
}

DrawingObjectPtr ShapeObject::next() const
{
    return m_guard && m_pictureId ? m_control->objectAfter(m_pictureId) : nullptr;
}

ParameterSetPtr ShapeObject::properties() const
{
    if (!m_guard || !m_pictureId)
        return std::make_shared<ParameterSet>(id());
    const ParameterSetPtr set = m_control->pictureProperties(m_pictureId);
    return set ? set : std::make_shared<ParameterSet>(id());
}

bool ShapeObject::setProperties(const ParameterSet& set)
{
    return m_guard && m_pictureId && m_control->setPictureProperties(m_pictureId, set);
}

} // namespace tdx
