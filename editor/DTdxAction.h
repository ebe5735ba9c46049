#pragma once
// Wrapper of an action object: CreateSet (3), GetDefault (5), Execute (4), used in the order
// CreateAction, CreateSet, GetDefault, item changes, Execute.
#include "editor/DTdxParameterSet.h"

#include "components/tdx/Action.h"

class CDTdxAction {
public:
    CDTdxAction() = default;
    explicit CDTdxAction(tdx::ActionPtr action) : m_action(std::move(action)) {}

    bool IsNull() const { return !m_action; }
    CDTdxParameterSet CreateSet();                    // member 3
    bool GetDefault(const CDTdxParameterSet& set);    // member 5
    bool Execute(const CDTdxParameterSet& set);       // member 4

private:
    tdx::ActionPtr m_action;
};
