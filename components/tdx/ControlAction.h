#pragma once
// Base of the editor control's actions: a name, a set of the same name, and a guarded
// pointer to the control (an action object may outlive the control; it then does nothing).
#include "components/tdx/Action.h"

#include <QPointer>

namespace tdx {

class EditorControl;

class ControlAction : public Action {
public:
    ControlAction(EditorControl* control, QString name);

    QString name() const override { return m_name; }
    ParameterSetPtr createSet() override { return std::make_shared<ParameterSet>(m_name); }
    bool fillDefaults(ParameterSet& set) override { return alive() && fill(set); }
    bool execute(const ParameterSet& set) override { return alive() && run(set); }

protected:
    virtual bool fill(ParameterSet& set) = 0;
    virtual bool run(const ParameterSet& set) = 0;
    bool alive() const { return !m_guard.isNull(); }
    EditorControl& control() const { return *m_control; }

private:
    QPointer<QObject> m_guard;
    EditorControl* m_control;
    QString m_name;
};

} // namespace tdx
