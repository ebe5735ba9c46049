#pragma once
// A drawing object of the editor control: a picture ("gso"), or the object that closes
// the list (picture id 0). It refers to its picture by identity, so it stays valid while
// the text around it changes and reports nothing once the picture is deleted.
#include "components/tdx/DrawingObject.h"

#include <QPointer>

namespace tdx {

class EditorControl;

class ShapeObject : public DrawingObject {
public:
    ShapeObject(EditorControl* control, quint64 pictureId);

    QString id() const override;
    DrawingObjectPtr next() const override;
    ParameterSetPtr properties() const override;
    bool setProperties(const ParameterSet& set) override;

private:
    QPointer<QObject> m_guard;
    EditorControl* m_control;
    quint64 m_pictureId;
};

} // namespace tdx
