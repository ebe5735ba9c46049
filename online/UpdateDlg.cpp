#include "online/UpdateDlg.h"

#include "online/StaticLink.h"
#include "platform/core/Shell.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimerEvent>
#include <QVBoxLayout>

namespace {

// The picture down the dialog's left side.
QPixmap SideBitmap()
{
    QPixmap bitmap(135, 275);
    QPainter painter(&bitmap);
    QLinearGradient gradient(0, 0, 0, bitmap.height());
    gradient.setColorAt(0, QColor(28, 74, 140));
    gradient.setColorAt(1, QColor(120, 170, 225));
    painter.fillRect(bitmap.rect(), gradient);
    painter.setPen(Qt::white);
    QFont title = painter.font();
    title.setBold(true);
    title.setPointSize(14);
    painter.setFont(title);
    painter.drawText(bitmap.rect().adjusted(0, 24, 0, 0), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Quorra"));
    title.setPointSize(9);
    title.setBold(false);
    painter.setFont(title);
    painter.drawText(bitmap.rect().adjusted(0, 0, 0, -16), Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("Tolvo maker"));
    return bitmap;
}

QLabel* TransparentLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAutoFillBackground(false);
    return label;
}

} // namespace

CUpdateDlg::CUpdateDlg(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) // no close box
{
    setWindowTitle(QStringLiteral("Quorra 업데이트"));
    setModal(true);

    // White client area; the static texts show it through.
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    auto* bitmap = new QLabel(this);
    bitmap->setPixmap(SideBitmap());
    bitmap->setAlignment(Qt::AlignTop);

    auto* header = TransparentLabel(
        QStringLiteral("Corvel_Vendara Quorra\nTolvo maker 편집툴 업데이트 안내\n새로운 버전의 설치파일을 받을 수 있습니다."), this);

    m_currentVersion = TransparentLabel({}, this);
    m_currentVersion->setObjectName(QStringLiteral("currentVersion"));
    m_newVersion = TransparentLabel({}, this);
    m_newVersion->setObjectName(QStringLiteral("newVersion"));

    m_editMessage = new QPlainTextEdit(this);
    m_editMessage->setObjectName(QStringLiteral("message"));
    m_editMessage->setReadOnly(true);
    m_editMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_editMessage->setMinimumHeight(112);

    m_linkDownload = new CStaticLink(this);
    m_linkDownload->setObjectName(QStringLiteral("downloadLink"));
    m_linkDownload->setTextInteractionFlags(Qt::NoTextInteraction);

    m_btnDownload = new QPushButton(QStringLiteral("다운로드"), this);
    m_btnDownload->setObjectName(QStringLiteral("download"));
    m_btnDownload->setAutoDefault(false);
    connect(m_btnDownload, &QPushButton::clicked, this, &CUpdateDlg::OnDownload);

    auto* versions = new QGridLayout;
    versions->addWidget(TransparentLabel(QStringLiteral("현재버전"), this), 0, 0);
    versions->addWidget(m_currentVersion, 0, 1);
    versions->addWidget(TransparentLabel(QStringLiteral("새로운버전"), this), 1, 0);
    versions->addWidget(m_newVersion, 1, 1);
    versions->setColumnStretch(1, 1);

    auto* linkRow = new QHBoxLayout;
    linkRow->addWidget(TransparentLabel(QStringLiteral("다운로드URL"), this));
    linkRow->addWidget(m_linkDownload, 1);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_btnDownload);

    auto* right = new QVBoxLayout;
    right->addWidget(header);
    right->addLayout(versions);
    right->addWidget(m_editMessage, 1);
    right->addLayout(linkRow);
    right->addLayout(buttonRow);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(bitmap);
    layout->addLayout(right, 1);
    resize(534, 291);
}

void CUpdateDlg::showEvent(QShowEvent* event)
{
    if (!m_bInitialized) {
        m_bInitialized = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CUpdateDlg::OnInitDialog()
{
    // The check leaves five entries; a shorter list shows empty texts rather than failing.
    m_strCurrentVersion = m_arrFields.value(4);
    m_strNewVersion = m_arrFields.value(0);
    m_strDownloadUrl = m_arrFields.value(1);

    m_strMessage = QStringLiteral(
                       "새로운 버전이 업데이트 되었습니다.\r\n  새 버 전 : \r\n   - 일자 : [%1]\r\n   - 버전 : [%2]\r\n"
                       "  현재버전 : \r\n   - 버전 : [%3]\r\n업데이트를 하시려면 [다운로드]버튼을 클릭하시어 "
                       "최신버전의 설치파일을 다운하시여 설치해주시기 바랍니다.\r\n")
                       .arg(m_arrFields.value(2), m_strNewVersion, m_strCurrentVersion)
        + QStringLiteral("\r\n[업데이트정보]\r\n") + m_arrFields.value(3);

    m_currentVersion->setText(m_strCurrentVersion);
    m_newVersion->setText(m_strNewVersion);
    m_linkDownload->setText(m_strDownloadUrl);
    m_editMessage->setPlainText(QString(m_strMessage).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void CUpdateDlg::OnDownload()
{
    platform::ShellOpen(m_strDownloadUrl);
    done(kDownloadResult);
    if (QWidget* owner = parentWidget()) {
        QWidget* mainWindow = owner->window();
        // Posted, so the main window closes once the dialog's own loop has ended.
        QMetaObject::invokeMethod(mainWindow, [mainWindow] { mainWindow->close(); }, Qt::QueuedConnection);
    }
}

void CUpdateDlg::accept() { done(kOkResult); }

void CUpdateDlg::reject() { done(kCancelResult); }

void CUpdateDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter ends the dialog with OK, unless it is pressed on the Download button.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        if (focusWidget() == m_btnDownload)
            m_btnDownload->click();
        else
            accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CUpdateDlg::timerEvent(QTimerEvent* event)
{
    if (m_linkDownload->TakeClickTimer(event->timerId())) {
        killTimer(event->timerId());
        OnDownload();
        return;
    }
    QDialog::timerEvent(event);
}
