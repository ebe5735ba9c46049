#pragma once
// One object of the document's drawing-object list. Pictures have the id "gso". The list
// ends with a closing object that is never a picture: a walk from the first object along
// next() reaches the control's last object, and callers stop before handling it.
// A control hands out the same instance for the same object, so identity compares objects.
#include "components/tdx/ParameterSet.h"

#include <QString>

#include <memory>

namespace tdx {

class DrawingObject {
public:
    virtual ~DrawingObject() = default;
    virtual QString id() const = 0;
    // Null after the last object, or when the object is gone from the document.
    virtual std::shared_ptr<DrawingObject> next() const = 0;
    // A copy of the object's properties; changes take effect through setProperties().
    virtual ParameterSetPtr properties() const = 0;
    virtual bool setProperties(const ParameterSet& set) = 0;
};

using DrawingObjectPtr = std::shared_ptr<DrawingObject>;

} // namespace tdx
