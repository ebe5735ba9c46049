#pragma once
// Wrapper of an item array of a parameter set (for example "NameEngs"). A default-constructed
// wrapper is null and ignores every call.
#include "components/tdx/ItemArray.h"

#include <QVariant>

#include <memory>

class CDTdxParameterArray {
public:
    CDTdxParameterArray() = default;
    explicit CDTdxParameterArray(std::shared_ptr<tdx::ItemArray> array) : m_array(std::move(array)) {}

    bool IsNull() const { return !m_array; }
    long GetCount() const;
    bool SetItem(long index, const QVariant& value); // member 6
    QVariant GetItem(long index) const;

private:
    std::shared_ptr<tdx::ItemArray> m_array;
};
