#include "components/tdx/DialogHooks.h"

#include <QDialog>
#include <QMessageBox>

namespace tdx {

namespace {

DialogHooks& current()
{
    static DialogHooks hooks;
    return hooks;
}

} // namespace

void setDialogHooks(DialogHooks hooks)
{
    current() = std::move(hooks);
}

int runDialog(QDialog& dialog)
{
    if (current().runModal)
        return current().runModal(dialog);
    return dialog.exec();
}

void showModelessDialog(QDialog& dialog)
{
    if (current().showModeless) {
        current().showModeless(dialog);
        return;
    }
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

void showMessage(QWidget* parent, const QString& text)
{
    if (current().message) {
        current().message(parent, text);
        return;
    }
    QMessageBox::information(parent, QString(), text);
}

} // namespace tdx
