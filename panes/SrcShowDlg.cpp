#include "panes/SrcShowDlg.h"

#include "panes/FastHtmlRichEditCtrl.h"
#include "panes/HtmlLineScanner.h"
#include "panes/PaneTexts.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimerEvent>
#include <QVBoxLayout>

CSrcShowDlg::CSrcShowDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CSrcShowDlg"));
    setWindowTitle(QString());
    auto* close = new QPushButton(panetexts::Close());
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    m_pText = new CFastHtmlRichEditCtrl;

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_pText, 1);
    // The text takes the keys: Enter and Escape stay with it instead of closing the window.
    m_pText->setFocus();
    resize(740, 420);
}

void CSrcShowDlg::SetCaption(const QString& caption)
{
    if (!caption.isEmpty())
        setWindowTitle(caption);
}

void CSrcShowDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_bLoaded || m_loadTimer.isActive())
        return;
    // The window comes up first; the file follows on the first tick.
    m_loadTimer.start(kLoadDelayMs, this);
}

void CSrcShowDlg::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_loadTimer.timerId()) {
        QDialog::timerEvent(event);
        return;
    }
    m_loadTimer.stop();
    LoadFile();
}

void CSrcShowDlg::LoadFile()
{
    QFile file(m_strFilePath);
    const QString text = !m_strFilePath.isEmpty() && file.open(QIODevice::ReadOnly)
        ? DecodeSourceBytes(file.readAll())
        : panetexts::FileMissing();
    m_pText->AppendAndScan(text);
    m_bLoaded = true;
    emit loaded();
}
