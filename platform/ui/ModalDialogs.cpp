#include "platform/ui/ModalDialogs.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialog>
#include <QMetaProperty>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>

namespace platform {
namespace {

DialogBackend* g_backend = nullptr;

QtDialogs& qtBackend()
{
    static QtDialogs backend;
    return backend;
}

// Named child widgets that take input: those with a user property, push buttons aside.
QList<QWidget*> inputWidgets(QDialog& dialog)
{
    QList<QWidget*> inputs;
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
        const auto* button = qobject_cast<QAbstractButton*>(child);
        if (!child->objectName().isEmpty() && !(button && !button->isCheckable())
            && child->metaObject()->userProperty().isValid())
            inputs.append(child);
    }
    return inputs;
}

DialogRequest describe(QDialog& dialog)
{
    DialogRequest request;
    request.name = dialog.objectName().isEmpty() ? QString::fromLatin1(dialog.metaObject()->className())
                                                 : dialog.objectName();
    request.title = dialog.windowTitle();
    for (QWidget* input : inputWidgets(dialog))
        request.fields.insert(input->objectName(), input->metaObject()->userProperty().read(input));
    const QMetaObject* meta = dialog.metaObject();
    for (int i = QDialog::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i)
        request.properties.insert(QString::fromLatin1(meta->property(i).name()), meta->property(i).read(&dialog));
    return request;
}

QAbstractButton* findButton(QDialog& dialog, const QString& name)
{
    const QList<QAbstractButton*> buttons = dialog.findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons) {
        if (name.isEmpty()) {
            auto* push = qobject_cast<QPushButton*>(button);
            if (push && push->isDefault())
                return button;
        } else if (button->objectName() == name || button->text().remove(QLatin1Char('&')) == name) {
            return button;
        }
    }
    return nullptr;
}

} // namespace

void setDialogBackend(DialogBackend* backend) { g_backend = backend; }

DialogBackend* dialogBackend() { return g_backend ? g_backend : &qtBackend(); }

int RunModalDialog(QDialog& dialog) { return dialogBackend()->run(dialog); }

void ShowModelessDialog(QDialog& dialog) { dialogBackend()->showModeless(dialog); }

int QtDialogs::run(QDialog& dialog) { return dialog.exec(); }

void QtDialogs::showModeless(QDialog& dialog)
{
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

int ScriptedDialogs::run(QDialog& dialog)
{
    // A dialog that fills itself in as it is shown does so here too, though it never goes on
    // screen.
    QShowEvent shown;
    QCoreApplication::sendEvent(&dialog, &shown);
    m_asked.append(describe(dialog));
    bool finished = false;
    int result = QDialog::Rejected;
    QPointer<QDialog> guard(&dialog);
    const auto connection = QObject::connect(&dialog, &QDialog::finished, [&](int code) {
        finished = true;
        result = code;
    });
    while (!finished && !m_answers.isEmpty()) {
        const DialogAnswer answer = m_answers.dequeue();
        for (QWidget* input : inputWidgets(dialog)) {
            if (answer.fields.contains(input->objectName()))
                input->metaObject()->userProperty().write(input, answer.fields.value(input->objectName()));
        }
        if (answer.button == QLatin1String(DialogAnswer::kCancel)) {
            dialog.reject();
        } else if (QAbstractButton* button = findButton(dialog, answer.button)) {
            button->click();
        } else if (answer.button.isEmpty()) {
            dialog.accept(); // no default button: what Enter does
        } else {
            qWarning("ScriptedDialogs: no button \"%s\" in %s", qPrintable(answer.button),
                     qPrintable(m_asked.last().name));
        }
        if (!guard)
            return result;
        if (!finished)
            ++m_refused;
    }
    if (!finished)
        dialog.reject();
    QObject::disconnect(connection);
    return result;
}

ScopedDialogBackend::ScopedDialogBackend(DialogBackend* backend)
    : m_previous(g_backend)
{
    g_backend = backend;
}

ScopedDialogBackend::~ScopedDialogBackend() { g_backend = m_previous; }

} // namespace platform
