#include "panes/LabelDialogLayout.h"

#include "panes/PaneTexts.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QLineEdit* BuildLabelDialog(QDialog& dialog, const QString& caption, const QString& fieldName)
{
    auto* label = new QLabel(caption);
    auto* edit = new QLineEdit;
    edit->setObjectName(fieldName);
    label->setBuddy(edit);
    auto* ok = new QPushButton(panetexts::Ok());
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(panetexts::Cancel());
    cancel->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);

    auto* layout = new QHBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(edit, 1);
    layout->addWidget(ok);
    layout->addWidget(cancel);
    dialog.setMinimumWidth(380);
    edit->setFocus();
    return edit;
}
