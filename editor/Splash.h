#pragma once
#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

// The start-up banner: a frameless top-most picture with one line of status text.
class CSplash : public QWidget {
    Q_OBJECT
public:
    // The colour key names the colour drawn transparent (none when invalid).
    explicit CSplash(const QColor& colourKey = QColor(128, 128, 128));

    void Create();
    void SetText(const QString& text); // repaints at once
    QString Text() const { return m_strText; }
    void Destroy();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static QPixmap MakeBanner(const QColor& colourKey);

    QColor m_colourKey;
    QPixmap m_bitmap;
    QString m_strText;
};
