#include "editor/AboutDlg.h"

#include "editor/EditorTexts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(texts::AboutCaption());
    auto* icon = new QLabel;
    icon->setPixmap(QApplication::windowIcon().isNull()
                        ? QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32)
                        : QApplication::windowIcon().pixmap(32));
    auto* name = new QLabel(texts::AboutText());
    name->setObjectName(QStringLiteral("aboutText"));
    auto* second = new QLabel(texts::AboutSecondLine());
    auto* ok = new QPushButton(texts::AboutOk());
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* textColumn = new QVBoxLayout;
    textColumn->addWidget(name);
    textColumn->addWidget(second);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(textColumn, 1);
    top->addWidget(ok, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
}
