#include "editor/DTdxCtrl0.h"

#include "editor/TdxDialogSeam.h"

#include <QVBoxLayout>

namespace {

CDTdxCtrl0::Factory& currentFactory()
{
    static CDTdxCtrl0::Factory factory = [](QWidget* parent) { return tdx::createControl(parent); };
    return factory;
}

} // namespace

CDTdxCtrl0::CDTdxCtrl0(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

// The control's widget is a child of this site; destroy the control (which may own it)
// before QWidget deletes the remaining children.
CDTdxCtrl0::~CDTdxCtrl0()
{
    m_control.reset();
}

bool CDTdxCtrl0::Create(QWidget* parent, const QRect& rect, int id)
{
    if (m_control)
        return true;
    if (parent && parentWidget() != parent)
        setParent(parent);
    m_id = id;
    setGeometry(rect);
    InstallTdxDialogSeam();
    m_control = currentFactory() ? currentFactory()(this) : nullptr;
    if (!m_control)
        return false;
    if (QWidget* child = m_control->widget()) {
        layout()->addWidget(child);
        setFocusProxy(child);
    }
    show();
    return true;
}

CDTdxShapeObject CDTdxCtrl0::GetFirstObject() const
{
    return m_control ? CDTdxShapeObject(m_control->firstObject()) : CDTdxShapeObject();
}

CDTdxShapeObject CDTdxCtrl0::GetLastObject() const
{
    return m_control ? CDTdxShapeObject(m_control->lastObject()) : CDTdxShapeObject();
}

CDTdxParameterSet CDTdxCtrl0::GetViewProperties() const
{
    return m_control ? CDTdxParameterSet(m_control->viewProperties()) : CDTdxParameterSet();
}

void CDTdxCtrl0::SetViewProperties(const CDTdxParameterSet& set)
{
    if (m_control && set.Get())
        m_control->setViewProperties(*set.Get());
}

void CDTdxCtrl0::ClearDocument(short option)
{
    if (m_control)
        m_control->clear(option);
}

CDTdxAction CDTdxCtrl0::CreateAction(const QString& name)
{
    return m_control ? CDTdxAction(m_control->createAction(name)) : CDTdxAction();
}

bool CDTdxCtrl0::OpenDocument(const QString& path, const QString& format, const QString& options)
{
    return m_control && m_control->open(path, format, options);
}

bool CDTdxCtrl0::RunAction(const QString& name)
{
    return m_control && m_control->run(name);
}

bool CDTdxCtrl0::IsModified(long option)
{
    return m_control && m_control->isModified(int(option));
}

bool CDTdxCtrl0::SaveDocumentAs(const QString& path, const QString& format, const QString& options)
{
    return m_control && m_control->saveAs(path, format, options);
}

bool CDTdxCtrl0::GetStatus(long& sectionCount, long& section, long& page, long& column, long& line,
                           long& position, short& overwrite, QString& text)
{
    tdx::Status status;
    if (!m_control || !m_control->status(status))
        return false;
    sectionCount = status.sectionCount;
    section = status.section;
    page = status.page;
    column = status.column;
    line = status.line;
    position = status.position;
    overwrite = status.overwrite;
    text = status.text;
    return true;
}

CDTdxParameterSet CDTdxCtrl0::GetScrollState() const
{
    return m_control ? CDTdxParameterSet(m_control->scrollState()) : CDTdxParameterSet();
}

void CDTdxCtrl0::SetScrollState(const CDTdxParameterSet& set)
{
    if (m_control && set.Get())
        m_control->setScrollState(*set.Get());
}

bool CDTdxCtrl0::RegisterModule(const QString& type, const QString& name)
{
    return m_control && m_control->registerModule(type, name);
}

bool CDTdxCtrl0::ExportStyles(const CDTdxParameterSet& set)
{
    return m_control && set.Get() && m_control->exportStyles(*set.Get());
}

bool CDTdxCtrl0::ImportStyles(const CDTdxParameterSet& set)
{
    return m_control && set.Get() && m_control->importStyles(*set.Get());
}

QString CDTdxCtrl0::GetPicturePath(long fileName)
{
    return m_control ? m_control->picturePath(int(fileName)) : QString();
}

CDTdxCtrl0::ScopedFactory::ScopedFactory(Factory factory) : m_previous(currentFactory())
{
    currentFactory() = std::move(factory);
}

CDTdxCtrl0::ScopedFactory::~ScopedFactory()
{
    currentFactory() = std::move(m_previous);
}
