#pragma once
// How the control shows its dialogs and messages. The program points these at its own
// dialog and message services (tests answer them by script); without hooks the control
// uses Qt's modal loop and message box.
#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace tdx {

struct DialogHooks {
    // Runs a dialog to its end; returns its result code.
    std::function<int(QDialog& dialog)> runModal;
    // Shows a dialog that stays beside the text (find, spelling) and returns at once on
    // screen; a scripted service may instead run it to its end.
    std::function<void(QDialog& dialog)> showModeless;
    // Tells the user something (a count, a missing file or dictionary).
    std::function<void(QWidget* parent, const QString& text)> message;
};

// Empty members fall back to Qt.
void setDialogHooks(DialogHooks hooks);

int runDialog(QDialog& dialog);
void showModelessDialog(QDialog& dialog);
void showMessage(QWidget* parent, const QString& text);

} // namespace tdx
