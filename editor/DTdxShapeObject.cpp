#include "editor/DTdxShapeObject.h"

QString CDTdxShapeObject::GetId() const
{
    return m_object ? m_object->id() : QString();
}

CDTdxShapeObject CDTdxShapeObject::GetNext() const
{
    return m_object ? CDTdxShapeObject(m_object->next()) : CDTdxShapeObject();
}

CDTdxParameterSet CDTdxShapeObject::GetProperties() const
{
    return m_object ? CDTdxParameterSet(m_object->properties()) : CDTdxParameterSet();
}

bool CDTdxShapeObject::SetProperties(const CDTdxParameterSet& set)
{
    return m_object && set.Get() && m_object->setProperties(*set.Get());
}
