#include "EditorFixture.h"

#include "FakeTdxControl.h"

#include "editor/BookPanes.h"
#include "editor/TdxComponentRegistration.h"
#include "platform/ui/QtTreeControl.h"
#include "platform/core/KnownFolders.h"

#include <QCoreApplication>
#include <QEventLoop>

EditorFixture::EditorFixture(bool useFake)
    : m_useFake(useFake)
{
}

void EditorFixture::SetUp()
{
    qputenv("LINDAR_STARTUP_WAIT_PERCENT", "0");
    ASSERT_TRUE(m_scratch.isValid());
    ASSERT_TRUE(CTdxComponentRegistration::Register(platform::ProgramFolder()));
    m_boxScope = std::make_unique<platform::ScopedMessageBoxBackend>(&m_boxes);
    m_dialogScope = std::make_unique<platform::ScopedFileDialogBackend>(&m_dialogs);
    m_modalScope = std::make_unique<platform::ScopedDialogBackend>(&m_modal);
    if (m_useFake)
        m_factory = std::make_unique<CDTdxCtrl0::ScopedFactory>(
            [](QWidget*) -> std::unique_ptr<tdx::Control> { return std::make_unique<FakeTdxControl>(); });
    m_app = std::make_unique<CLindarApp>();
    BeforeStartup();
    ASSERT_TRUE(m_app->InitInstance());
    // Each test sees only its own dialogs, not start-up's template chooser.
    m_modal.clear();
}

void EditorFixture::TearDown()
{
    if (m_app && m_app->MainFrame())
        m_app->MainFrame()->m_bClosing = true; // no questions while the window goes away
    m_app.reset();
    ProcessPosted();
    m_factory.reset();
    m_modalScope.reset();
    m_dialogScope.reset();
    m_boxScope.reset();
}

FakeTdxControl* EditorFixture::Fake() const
{
    CLindarDoc* document = Doc();
    return document && document->m_pCtrl ? FakeTdxControl::of(*document->m_pCtrl) : nullptr;
}

void EditorFixture::ProcessPosted()
{
    for (int round = 0; round < 5; ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QString EditorFixture::SimpleBook(const QString& name, const QString& title)
{
    TestBookSpec layout;
    layout.title = title;
    layout.chapters = {{QStringLiteral("ch1.xhtml"), QStringLiteral("<p>first</p>"), QStringLiteral("One")},
                     {QStringLiteral("ch2.xhtml"), QStringLiteral("<p>second</p>"), QStringLiteral("Two")}};
    return WriteTestBook(m_scratch.path(), name, layout);
}

QStringList EditorFixture::Questions() const
{
    QStringList texts;
    for (const platform::MessageRequest& request : m_boxes.asked())
        texts << request.text;
    return texts;
}

QStringList EditorFixture::ManifestItems() const
{
    const platform::QtTreeControl& tree = *Frame().Panes().ManifestTree();
    QStringList out;
    for (platform::TreeItem item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item)) {
        const platform::TreeItem type = tree.GetChildItem(item);
        const platform::TreeItem href = type ? tree.GetNextSiblingItem(type) : nullptr;
        out << tree.GetItemText(item) + "|" + (type ? tree.GetItemText(type) : QString()) + "|"
                + (href ? tree.GetItemText(href) : QString());
    }
    return out;
}
