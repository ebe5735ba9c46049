#pragma once
// An action object: a named editing operation that takes a parameter set. Callers make the
// set (createSet), let the action fill it with the current values (fillDefaults), change
// items, and execute it with the set.
#include "components/tdx/ParameterSet.h"

#include <QString>

#include <memory>

namespace tdx {

class Action {
public:
    virtual ~Action() = default;
    virtual QString name() const = 0;
    virtual ParameterSetPtr createSet() = 0;
    virtual bool fillDefaults(ParameterSet& set) = 0;
    virtual bool execute(const ParameterSet& set) = 0;
};

using ActionPtr = std::shared_ptr<Action>;

} // namespace tdx
