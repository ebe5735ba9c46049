#pragma once
// How the control asks the user for a file (insert file). A dialog in the program; tests
// install an answer of their own.
#include <QString>

#include <functional>

class QWidget;

namespace tdx {

using FileChooser = std::function<QString(QWidget* parent, const QString& caption, const QString& filter)>;

// Null restores the file dialog.
void setFileChooser(FileChooser chooser);
QString chooseFile(QWidget* parent, const QString& caption, const QString& filter);

} // namespace tdx
