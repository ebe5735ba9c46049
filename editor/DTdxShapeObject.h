#pragma once
// Wrapper of a drawing object: id (2), next object (3), property set (5, read and written).
// Two wrappers are equal when they wrap the same object (both null counts as equal).
#include "editor/DTdxParameterSet.h"

#include "components/tdx/DrawingObject.h"

#include <QString>

class CDTdxShapeObject {
public:
    CDTdxShapeObject() = default;
    explicit CDTdxShapeObject(tdx::DrawingObjectPtr object) : m_object(std::move(object)) {}

    bool IsNull() const { return !m_object; }
    QString GetId() const;                                  // member 2
    CDTdxShapeObject GetNext() const;                       // member 3
    CDTdxParameterSet GetProperties() const;                // member 5, read
    bool SetProperties(const CDTdxParameterSet& set);       // member 5, write

    bool operator==(const CDTdxShapeObject& other) const { return m_object == other.m_object; }

private:
    tdx::DrawingObjectPtr m_object;
};
