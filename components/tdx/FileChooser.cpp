#include "components/tdx/FileChooser.h"

#include <QFileDialog>

namespace tdx {

namespace {

FileChooser& current()
{
    static FileChooser chooser;
    return chooser;
}

} // namespace

void setFileChooser(FileChooser chooser)
{
    current() = std::move(chooser);
}

QString chooseFile(QWidget* parent, const QString& caption, const QString& filter)
{
    if (current())
        return current()(parent, caption, filter);
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

} // namespace tdx
