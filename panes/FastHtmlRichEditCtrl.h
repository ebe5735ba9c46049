#pragma once
// The source viewer's text control: read-only HTML source with tags, quoted values and
// comments coloured a piece at a time, so that a large file shows at once. The visible
// lines are coloured first, the rest 10 lines per 100 ms tick while nobody works in the
// view. Colours live in the lines' layouts, never in the text, so colouring adds no undo
// step and never marks the text changed.
#include "panes/HtmlLineScanner.h"

#include <QBasicTimer>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <array>

class CFastHtmlRichEditCtrl : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kBackgroundIntervalMs = 100;
    static constexpr int kLinesPerTick = 10;

    explicit CFastHtmlRichEditCtrl(QWidget* parent = nullptr);

    // Appends `text` at the end and colours it: the full scan after loading.
    void AppendAndScan(const QString& text);
    void FullScan(const QString& text);
    // Colours the visible lines not yet coloured.
    void ColourVisibleLines();
    // One background tick; false once every line is coloured.
    bool BackgroundTick();

    const CHtmlLineScanner& Scanner() const { return m_scanner; }
    bool IsBackgroundRunning() const { return m_timer.isActive(); }
    bool IsBusy() const { return m_bBusy; }
    // The format of a scan state; Text for everything outside tags.
    const QTextCharFormat& FormatFor(HtmlScanState state) const;
    static QFont SourceFont();

signals:
    // After each colouring pass: which pass, and how long it took.
    void passDone(const char* pass, qint64 nanoseconds);

protected:
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Holds redrawing and keeps the selection and scroll position around a pass.
    class PassGuard;
    void ColourLine(const QTextBlock& block);
    int LastVisibleLine() const;
    bool MayWorkInBackground() const;
    void OnScrolled();

    CHtmlLineScanner m_scanner;
    std::array<QTextCharFormat, 5> m_formats; // indexed by HtmlScanState
    QBasicTimer m_timer;                      // the background pass (timer 100)
    bool m_bBusy = false;
    int m_nFirstUncoloured = 0; // no line above it is left uncoloured
};
