#include "editor/DTdxAction.h"

CDTdxParameterSet CDTdxAction::CreateSet()
{
    return m_action ? CDTdxParameterSet(m_action->createSet()) : CDTdxParameterSet();
}

bool CDTdxAction::GetDefault(const CDTdxParameterSet& set)
{
    return m_action && set.Get() && m_action->fillDefaults(*set.Get());
}

bool CDTdxAction::Execute(const CDTdxParameterSet& set)
{
    return m_action && set.Get() && m_action->execute(*set.Get());
}
