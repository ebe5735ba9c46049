#pragma once
// A started editor for tests: scripted message boxes, file dialogs and modal dialogs, the component
// registered, the start-up waits off, and a scratch folder for books.
#include "QtPrinters.h"
#include "TestBook.h"

#include "editor/DTdxCtrl0.h"
#include "editor/LindarApp.h"
#include "editor/LindarDoc.h"
#include "editor/LindarView.h"
#include "editor/MainFrame.h"
#include "platform/core/MessageBox.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/ModalDialogs.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>

class FakeTdxControl;

class EditorFixture : public ::testing::Test {
protected:
    // With useFake the chapter view gets the recording fake control instead of the real one.
    explicit EditorFixture(bool useFake = false);
    void SetUp() override;
    void TearDown() override;
    // Runs just before start-up: a test queues its answers to start-up's dialogs here.
    // Without any, the template chooser is cancelled and the editor starts with no book.
    virtual void BeforeStartup() {}

    CMainFrame& Frame() const { return *m_app->MainFrame(); }
    CLindarDoc* Doc() const { return Frame().GetActiveDocument(); }
    CLindarView* View() const { return Frame().GetActiveView(); }
    FakeTdxControl* Fake() const;

    // Runs queued calls (the reopen cycle's posts) until none are left.
    static void ProcessPosted();
    QString Scratch(const QString& name) const { return m_scratch.filePath(name); }
    // A two-chapter book "name" in the scratch folder.
    QString SimpleBook(const QString& name, const QString& title = QStringLiteral("Test Book"));
    QStringList Questions() const;
    // The manifest tree as "id|media-type|href" lines.
    QStringList ManifestItems() const;

    platform::ScriptedMessageBoxes m_boxes;
    platform::ScriptedFileDialogs m_dialogs;
    platform::ScriptedDialogs m_modal; // every modal dialog of ours
    std::unique_ptr<CLindarApp> m_app;

private:
    bool m_useFake;
    QTemporaryDir m_scratch;
    std::unique_ptr<platform::ScopedMessageBoxBackend> m_boxScope;
    std::unique_ptr<platform::ScopedFileDialogBackend> m_dialogScope;
    std::unique_ptr<platform::ScopedDialogBackend> m_modalScope;
    std::unique_ptr<CDTdxCtrl0::ScopedFactory> m_factory;
};

// The same editor on the recording fake control.
class FakeEditorFixture : public EditorFixture {
protected:
    FakeEditorFixture() : EditorFixture(true) {}
};
