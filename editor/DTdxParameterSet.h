#pragma once
// Wrapper of a parameter set of the word-processor control. A sub-set is a parameter set
// too. Copies share the set they wrap. A null wrapper reads invalid values and ignores writes.
#include "editor/DTdxParameterArray.h"

#include "components/tdx/ParameterSet.h"

#include <QString>
#include <QVariant>

class CDTdxParameterSet {
public:
    CDTdxParameterSet() = default;
    explicit CDTdxParameterSet(tdx::ParameterSetPtr set) : m_set(std::move(set)) {}

    bool IsNull() const { return !m_set; }
    QString GetSetId() const;

    QVariant GetItem(const QString& name) const;                  // member 9
    long GetItemLong(const QString& name) const;                  // GetItem as a number, 0 if absent
    void SetItem(const QString& name, const QVariant& value);     // member 14
    CDTdxParameterArray CreateItemArray(const QString& name, long count);        // member 5
    CDTdxParameterSet CreateItemSet(const QString& name, const QString& setId);  // member 6

    const tdx::ParameterSetPtr& Get() const { return m_set; }

private:
    tdx::ParameterSetPtr m_set;
};
