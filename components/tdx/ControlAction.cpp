#include "components/tdx/ControlAction.h"

#include "components/tdx/EditorControl.h"

namespace tdx {

ControlAction::ControlAction(EditorControl* control, QString name)
    : m_guard(control), m_control(control), m_name(std::move(name))
{
}

} // namespace tdx
