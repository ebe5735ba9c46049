#pragma once
// One seam for every modal dialog of ours. A dialog is built as usual and run through
// RunModalDialog() instead of exec(): on screen the Qt backend runs the modal loop; in
// tests and unattended runs a scripted backend fills the dialog's named fields, presses
// one of its buttons and reports what the dialog showed, so nothing waits for a user.
#include <QList>
#include <QQueue>
#include <QString>
#include <QVariantMap>

class QDialog;

namespace platform {

// What a script does with one dialog: put values into its named input widgets (through
// each widget's user property: a line edit's text, a check box's state, a combo box's
// current text, a spin box's value), then press a button.
struct DialogAnswer {
    QVariantMap fields;  // child object name -> value
    QString button;      // object name or caption of the button; empty: the default button
    // Closes the dialog as Escape does.
    static DialogAnswer Cancel() { return {{}, QString::fromLatin1(kCancel)}; }
    static DialogAnswer Press(const QString& button, const QVariantMap& fields = {}) { return {fields, button}; }
    static constexpr const char* kCancel = "<cancel>";
};

// What a dialog showed when it came up, for the tests' checks.
struct DialogRequest {
    QString name;          // the dialog's object name (its class name when it has none)
    QString title;         // window title
    QVariantMap fields;    // named input widgets' values when it opened
    QVariantMap properties; // the dialog class's own properties (its inputs)
};

class DialogBackend {
public:
    virtual ~DialogBackend() = default;
    // Runs the dialog to its end and returns its result code (QDialog::Accepted, Rejected,
    // or the code a dialog passes to done()).
    virtual int run(QDialog& dialog) = 0;
    // Shows a dialog that stays open beside the window (find, spelling). A backend that
    // never goes on screen runs it to its end as a modal one.
    virtual void showModeless(QDialog& dialog) { run(dialog); }
};

// Installs the backend RunModalDialog uses (not owned). Null restores the Qt backend.
void setDialogBackend(DialogBackend* backend);
DialogBackend* dialogBackend();

int RunModalDialog(QDialog& dialog);
void ShowModelessDialog(QDialog& dialog);

class QtDialogs : public DialogBackend {
public:
    int run(QDialog& dialog) override;
    void showModeless(QDialog& dialog) override;
};

// Records every dialog and answers from a queue. One answer is one press: a dialog that
// stays open after it (it refused the input) takes the next answer, as a user tries
// again. A dialog still open when the queue is empty is cancelled.
class ScriptedDialogs : public DialogBackend {
public:
    int run(QDialog& dialog) override;
    void enqueue(const DialogAnswer& answer) { m_answers.enqueue(answer); }
    const QList<DialogRequest>& asked() const { return m_asked; }
    // How many presses left a dialog open (refused), over all dialogs.
    int refusedPresses() const { return m_refused; }
    void clear() { m_asked.clear(); m_answers.clear(); m_refused = 0; }

private:
    QList<DialogRequest> m_asked;
    QQueue<DialogAnswer> m_answers;
    int m_refused = 0;
};

class ScopedDialogBackend {
public:
    explicit ScopedDialogBackend(DialogBackend* backend);
    ~ScopedDialogBackend();
    ScopedDialogBackend(const ScopedDialogBackend&) = delete;
    ScopedDialogBackend& operator=(const ScopedDialogBackend&) = delete;

private:
    DialogBackend* m_previous;
};

} // namespace platform
