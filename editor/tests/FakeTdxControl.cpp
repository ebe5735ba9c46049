#include "FakeTdxControl.h"

#include "editor/DTdxCtrl0.h"

class FakeTdxControl::Object : public tdx::DrawingObject {
public:
    Object(FakeTdxControl* owner, QString id)
        : m_owner(owner), m_id(std::move(id)), m_properties(std::make_shared<tdx::ParameterSet>(m_id)) {}

    QString id() const override { return m_id; }
    tdx::DrawingObjectPtr next() const override { return m_next.lock(); }
    tdx::ParameterSetPtr properties() const override { return m_properties->clone(); }
    bool setProperties(const tdx::ParameterSet& set) override
    {
        m_owner->log << QStringLiteral("setProperties|%1").arg(m_id);
        m_properties = set.clone();
        return true;
    }

    FakeTdxControl* m_owner;
    QString m_id;
    tdx::ParameterSetPtr m_properties;
    std::weak_ptr<Object> m_next;
};

class FakeTdxControl::Action : public tdx::Action {
public:
    Action(FakeTdxControl* owner, QString name) : m_owner(owner), m_name(std::move(name)) {}

    QString name() const override { return m_name; }
    tdx::ParameterSetPtr createSet() override
    {
        m_owner->log << QStringLiteral("createSet|%1").arg(m_name);
        return std::make_shared<tdx::ParameterSet>(m_name);
    }
    bool fillDefaults(tdx::ParameterSet& set) override
    {
        m_owner->log << QStringLiteral("fillDefaults|%1").arg(m_name);
        const tdx::ParameterSetPtr defaults = m_owner->defaultsOf(m_name);
        for (const QString& item : defaults->itemNames())
            set.setItem(item, defaults->item(item));
        // Sub-sets are filled in place, so a sub-set the caller already holds stays valid.
        if (const auto pageDef = defaults->itemSet("PageDef")) {
            const auto target = set.createItemSet("PageDef", "PageDef");
            for (const QString& item : pageDef->itemNames())
                target->setItem(item, pageDef->item(item));
        }
        return true;
    }
    bool execute(const tdx::ParameterSet& set) override
    {
        m_owner->log << QStringLiteral("execute|%1").arg(m_name);
        m_owner->executed.append({m_name, set.clone()});
        return true;
    }

private:
    FakeTdxControl* m_owner;
    QString m_name;
};

FakeTdxControl::FakeTdxControl()
    : view(std::make_shared<tdx::ParameterSet>("ViewProperties")),
      scroll(std::make_shared<tdx::ParameterSet>("ScrollPosInfo"))
{
    m_objects.append(std::make_shared<Object>(this, QStringLiteral("end")));
    view->setItem("ZoomType", 0);
    view->setItem("ZoomRatio", 100);
    scroll->setItem("VertPos", 0);
    scroll->setItem("VertLimitPos", 0);
}

FakeTdxControl* FakeTdxControl::of(const CDTdxCtrl0& ctrl)
{
    return dynamic_cast<FakeTdxControl*>(ctrl.GetControl());
}

tdx::ParameterSetPtr FakeTdxControl::addObject(const QString& id)
{
    auto object = std::make_shared<Object>(this, id);
    m_objects.insert(m_objects.size() - 1, object);
    relink();
    return object->m_properties;
}

tdx::ParameterSetPtr FakeTdxControl::addLinkedPicture(int number, const QString& path)
{
    tdx::ParameterSetPtr properties = addObject(QStringLiteral("gso"));
    auto image = properties->createItemSet(QStringLiteral("ShapeDrawImageAttr"), QStringLiteral("ShapeDrawImageAttr"));
    image->setItem(QStringLiteral("Embedded"), 0);
    image->setItem(QStringLiteral("FileName"), number);
    picturePaths.insert(number, path);
    return properties;
}

void FakeTdxControl::embed(const tdx::ParameterSetPtr& properties)
{
    properties->createItemSet(QStringLiteral("ShapeDrawImageAttr"), QStringLiteral("ShapeDrawImageAttr"))
        ->setItem(QStringLiteral("Embedded"), 1);
}

void FakeTdxControl::relink()
{
    for (int i = 0; i + 1 < m_objects.size(); ++i)
        m_objects[i]->m_next = m_objects[i + 1];
}

tdx::ParameterSetPtr FakeTdxControl::defaultsOf(const QString& action)
{
    auto& defaults = m_defaults[action];
    if (!defaults)
        defaults = std::make_shared<tdx::ParameterSet>(action);
    return defaults;
}

tdx::DrawingObjectPtr FakeTdxControl::firstObject()
{
    return m_objects.first();
}

tdx::DrawingObjectPtr FakeTdxControl::lastObject()
{
    return m_objects.last();
}

tdx::ParameterSetPtr FakeTdxControl::viewProperties()
{
    log << "viewProperties";
    return view->clone();
}

void FakeTdxControl::setViewProperties(const tdx::ParameterSet& set)
{
    log << QStringLiteral("setViewProperties|%1|%2").arg(set.item("ZoomType").toString(),
                                                         set.item("ZoomRatio").toString());
    view = set.clone();
}

void FakeTdxControl::clear(int option)
{
    log << QStringLiteral("clear|%1").arg(option);
}

tdx::ActionPtr FakeTdxControl::createAction(const QString& name)
{
    log << QStringLiteral("createAction|%1").arg(name);
    return knownActions.contains(name) ? std::make_shared<Action>(this, name) : nullptr;
}

bool FakeTdxControl::open(const QString& path, const QString& format, const QString& options)
{
    log << QStringLiteral("open|%1|%2|%3").arg(path, format, options);
    return openResult;
}

bool FakeTdxControl::run(const QString& actionName)
{
    log << QStringLiteral("run|%1").arg(actionName);
    return runnable.isEmpty() || runnable.contains(actionName);
}

bool FakeTdxControl::isModified(int option)
{
    log << QStringLiteral("isModified|%1").arg(option);
    return modified;
}

bool FakeTdxControl::saveAs(const QString& path, const QString& format, const QString& options)
{
    log << QStringLiteral("saveAs|%1|%2|%3").arg(path, format, options);
    return saveResult;
}

bool FakeTdxControl::status(tdx::Status& status)
{
    log << "status";
    status = statusValues;
    return true;
}

tdx::ParameterSetPtr FakeTdxControl::scrollState()
{
    log << "scrollState";
    return scroll->clone();
}

void FakeTdxControl::setScrollState(const tdx::ParameterSet& set)
{
    log << QStringLiteral("setScrollState|%1|%2").arg(set.item("VertPos").toString(),
                                                      set.item("VertLimitPos").toString());
    scroll = set.clone();
}

bool FakeTdxControl::registerModule(const QString& type, const QString& name)
{
    log << QStringLiteral("registerModule|%1|%2").arg(type, name);
    return true;
}

bool FakeTdxControl::exportStyles(const tdx::ParameterSet& set)
{
    log << QStringLiteral("exportStyles|%1").arg(set.item("FileName").toString());
    exported.append(set.clone());
    return true;
}

bool FakeTdxControl::importStyles(const tdx::ParameterSet& set)
{
    log << QStringLiteral("importStyles|%1").arg(set.item("FileName").toString());
    imported.append(set.clone());
    return true;
}

QString FakeTdxControl::picturePath(int fileName)
{
    log << QStringLiteral("picturePath|%1").arg(fileName);
    return picturePaths.value(fileName);
}
