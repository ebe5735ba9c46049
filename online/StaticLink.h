#pragma once
// A static text drawn as a link: blue, underlined, with the hand cursor over it.
// A click on a link that has a target starts a 10 ms timer on the parent window; the parent
// acts on it in its timer handler, after the click has been fully handled.
#include <QLabel>

class CStaticLink : public QLabel {
    Q_OBJECT
public:
    explicit CStaticLink(QWidget* parent = nullptr);

    // The link's own target. When empty, the shown text is the target.
    void SetLink(const QString& link) { m_link = link; }
    const QString& Link() const { return m_link; }
    QString Target() const;

    // True when timerId is the click timer this link started on its parent and that has not
    // been taken yet. The parent kills the timer and acts on the click.
    bool TakeClickTimer(int timerId);

    static constexpr int kClickTimerIntervalMs = 10;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_link;
    int m_clickTimerId = 0; // pending click timer on the parent, 0 when none
};
