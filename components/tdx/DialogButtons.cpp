#include "components/tdx/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace tdx {

QDialogButtonBox* okCancelButtons(QDialog& dialog)
{
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("확인"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

} // namespace tdx
