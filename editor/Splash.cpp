#include "editor/Splash.h"

#include "editor/EditorTexts.h"

#include <QApplication>
#include <QBitmap>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

CSplash::CSplash(const QColor& colourKey)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
    , m_colourKey(colourKey)
    , m_strText(texts::SplashInitial())
{
    setWindowTitle(QStringLiteral("Banner"));
    setCursor(Qt::WaitCursor);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

QPixmap CSplash::MakeBanner(const QColor& colourKey)
{
    // Our own artwork: a rounded card on the key colour, so the corners drop out.
    QPixmap banner(420, 220);
    banner.fill(colourKey.isValid() ? colourKey : QColor(Qt::lightGray));
    QPainter painter(&banner);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, banner.height());
    gradient.setColorAt(0, QColor(246, 248, 252));
    gradient.setColorAt(1, QColor(196, 212, 234));
    painter.setBrush(gradient);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(banner.rect().adjusted(2, 2, -2, -2), 18, 18);
    painter.setPen(QColor(24, 56, 104));
    QFont title = painter.font();
    title.setPointSize(22);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(banner.rect().adjusted(0, 40, 0, 0), Qt::AlignHCenter | Qt::AlignTop, texts::AppTitle());
    QFont version = painter.font();
    version.setPointSize(10);
    version.setBold(false);
    painter.setFont(version);
    painter.drawText(banner.rect().adjusted(0, 0, -16, -12), Qt::AlignRight | Qt::AlignBottom,
                     QStringLiteral("0.9.3.0"));
    return banner;
}

void CSplash::Create()
{
    m_bitmap = MakeBanner(m_colourKey);
    setFixedSize(m_bitmap.size());
    if (m_colourKey.isValid() && m_colourKey != QColor(0, 0, 0))
        setMask(m_bitmap.createMaskFromColor(m_colourKey));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    show();
    repaint();
}

void CSplash::SetText(const QString& text)
{
    m_strText = text;
    if (isVisible())
        repaint();
}

void CSplash::Destroy()
{
    hide();
    close();
}

void CSplash::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bitmap);
    painter.setPen(Qt::white);
    painter.drawText(QPoint(16, 11 + painter.fontMetrics().ascent()), m_strText);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(15, 10 + painter.fontMetrics().ascent()), m_strText);
}
