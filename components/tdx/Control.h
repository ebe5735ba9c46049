#pragma once
// The word-processor control's public interface. The editor binds to it through its
// wrapper CDTdxCtrl0 only, so the editor's tests can run the wrapper on a fake control
// while the program gets the real one from createControl().
//
// Members and the dispatch numbers callers know them by:
//   3/6 firstObject/lastObject, 11 view properties, 16 clear, 17 createAction, 26 open,
//   29 run, 30 isModified, 31 saveAs, 54 status, 73 scroll state, 76 registerModule,
//   15079 exportStyles, 15080 importStyles, 15081 picturePath.
#include "components/tdx/Action.h"
#include "components/tdx/DrawingObject.h"
#include "components/tdx/ParameterSet.h"

#include <QString>

#include <memory>

class QWidget;

namespace tdx {

// The eight status values, in the order the status member returns them.
struct Status {
    int sectionCount = 1;
    int section = 1;
    int page = 1;
    int column = 1;
    int line = 1;
    int position = 1;     // position in the line, from 1
    short overwrite = 0;  // non-zero in overwrite mode
    QString text;         // the current paragraph's style name
};

class Control {
public:
    virtual ~Control() = default;

    // The editing widget, or null for a control without one (test doubles).
    virtual QWidget* widget() = 0;

    virtual DrawingObjectPtr firstObject() = 0;
    virtual DrawingObjectPtr lastObject() = 0;

    // Items "ZoomType" and "ZoomRatio" (percent).
    virtual ParameterSetPtr viewProperties() = 0;
    virtual void setViewProperties(const ParameterSet& set) = 0;

    virtual void clear(int option) = 0;
    // Null for an action the control does not know.
    virtual ActionPtr createAction(const QString& name) = 0;

    // Format "HTML", "XHTML", "TDX" or empty (decided by content and extension); options
    // are "key:value;" pairs.
    virtual bool open(const QString& path, const QString& format, const QString& options) = 0;
    // False for an unknown name; nothing happens then.
    virtual bool run(const QString& actionName) = 0;
    virtual bool isModified(int option) = 0;
    // Format "XHTML" or "TDX"; true when the file was written.
    virtual bool saveAs(const QString& path, const QString& format, const QString& options) = 0;
    virtual bool status(Status& status) = 0;

    // Items "VertPos" and "VertLimitPos" of the vertical scroll bar.
    virtual ParameterSetPtr scrollState() = 0;
    virtual void setScrollState(const ParameterSet& set) = 0;

    virtual bool registerModule(const QString& type, const QString& name) = 0;

    // A "StyleTemplate" set: arrays "NameEngs", "NameLocals", item "FileName".
    virtual bool exportStyles(const ParameterSet& set) = 0;
    virtual bool importStyles(const ParameterSet& set) = 0;
    // The full path of the picture a drawing object's "FileName" item names; empty if none.
    virtual QString picturePath(int fileName) = 0;
};

// The real control: an editing widget, a child of `parent`.
std::unique_ptr<Control> createControl(QWidget* parent);

} // namespace tdx
