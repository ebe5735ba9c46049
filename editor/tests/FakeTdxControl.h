#pragma once
// A recording stand-in for the word-processor control. Every call is written to log() as
// one line ("open|path|format|options"); actions keep a copy of the set they executed
// with, so tests can check what the editor asked for. Tests install it through
// CDTdxCtrl0::ScopedFactory and reach it with FakeTdxControl::of(ctrl).
#include "components/tdx/Control.h"

#include <QList>
#include <QMap>
#include <QStringList>

#include <functional>

class CDTdxCtrl0;

class FakeTdxControl : public tdx::Control {
public:
    // One executed action with the set it was given.
    struct Executed {
        QString action;
        tdx::ParameterSetPtr set;
    };

    FakeTdxControl();

    static FakeTdxControl* of(const CDTdxCtrl0& ctrl);

    // Appends a drawing object before the closing one and returns its property set.
    tdx::ParameterSetPtr addObject(const QString& id);
    // Appends a linked picture object whose picture number `number` names `path`.
    tdx::ParameterSetPtr addLinkedPicture(int number, const QString& path);
    // Makes a picture object embedded, so that it no longer counts as a linked picture.
    static void embed(const tdx::ParameterSetPtr& properties);
    // The values an action's default step fills in, by action name (sub-sets included).
    tdx::ParameterSetPtr defaultsOf(const QString& action);

    QStringList log;
    QList<Executed> executed;
    QList<tdx::ParameterSetPtr> exported;
    QList<tdx::ParameterSetPtr> imported;
    QMap<int, QString> picturePaths;
    QStringList knownActions{"PageSetup", "ParagraphShape", "Bookmark", "Style", "StyleTemplate"};
    QStringList runnable;        // names run() accepts; empty accepts every name
    bool openResult = true;
    bool saveResult = true;
    bool modified = false;
    tdx::Status statusValues;
    tdx::ParameterSetPtr view;
    tdx::ParameterSetPtr scroll;

    QWidget* widget() override { return nullptr; }
    tdx::DrawingObjectPtr firstObject() override;
    tdx::DrawingObjectPtr lastObject() override;
    tdx::ParameterSetPtr viewProperties() override;
    void setViewProperties(const tdx::ParameterSet& set) override;
    void clear(int option) override;
    tdx::ActionPtr createAction(const QString& name) override;
    bool open(const QString& path, const QString& format, const QString& options) override;
    bool run(const QString& actionName) override;
    bool isModified(int option) override;
    bool saveAs(const QString& path, const QString& format, const QString& options) override;
    bool status(tdx::Status& status) override;
    tdx::ParameterSetPtr scrollState() override;
    void setScrollState(const tdx::ParameterSet& set) override;
    bool registerModule(const QString& type, const QString& name) override;
    bool exportStyles(const tdx::ParameterSet& set) override;
    bool importStyles(const tdx::ParameterSet& set) override;
    QString picturePath(int fileName) override;

private:
    class Object;
    class Action;
    void relink();

    QList<std::shared_ptr<Object>> m_objects; // the closing object is last
    QMap<QString, tdx::ParameterSetPtr> m_defaults;
};
