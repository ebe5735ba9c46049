#include "panes/FastHtmlRichEditCtrl.h"

#include <QElapsedTimer>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

namespace {

constexpr double kPointSize = 8;

QTextCharFormat colourFormat(const QColor& colour)
{
    QTextCharFormat format;
    format.setForeground(colour);
    return format;
}

} // namespace

class CFastHtmlRichEditCtrl::PassGuard {
public:
    PassGuard(CFastHtmlRichEditCtrl& control, const char* pass)
        : m_control(control)
        , m_pass(pass)
        , m_cursor(control.textCursor())
        , m_vertical(control.verticalScrollBar()->value())
        , m_horizontal(control.horizontalScrollBar()->value())
        , m_wasBusy(control.m_bBusy)
    {
        m_clock.start();
        control.m_bBusy = true;
        control.viewport()->setUpdatesEnabled(false);
    }
    ~PassGuard()
    {
        if (m_control.textCursor() != m_cursor)
            m_control.setTextCursor(m_cursor);
        m_control.verticalScrollBar()->setValue(m_vertical);
        m_control.horizontalScrollBar()->setValue(m_horizontal);
        m_control.m_bBusy = m_wasBusy;
        m_control.viewport()->setUpdatesEnabled(true);
        m_control.viewport()->update();
        emit m_control.passDone(m_pass, m_clock.nsecsElapsed());
    }

private:
    CFastHtmlRichEditCtrl& m_control;
    const char* m_pass;
    QTextCursor m_cursor;
    int m_vertical;
    int m_horizontal;
    bool m_wasBusy;
    QElapsedTimer m_clock;
};

CFastHtmlRichEditCtrl::CFastHtmlRichEditCtrl(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("sourceText"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    setFont(SourceFont());
    m_formats[Tag] = colourFormat(QColor(10, 10, 255));
    m_formats[Text] = colourFormat(QColor(10, 10, 10));
    m_formats[Value] = colourFormat(QColor(255, 10, 10));
    m_formats[Comment] = colourFormat(QColor(0, 128, 0));
    // The text format is the default: whatever is not coloured is text.
    QPalette colours = palette();
    colours.setColor(QPalette::Text, QColor(10, 10, 10));
    setPalette(colours);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CFastHtmlRichEditCtrl::OnScrolled);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &CFastHtmlRichEditCtrl::OnScrolled);
    connect(verticalScrollBar(), &QScrollBar::sliderMoved, this, [this] { setFocus(); });
}

QFont CFastHtmlRichEditCtrl::SourceFont()
{
    // The Korean monospace faces in order of preference, then the system's fixed font.
    const QStringList families = QFontDatabase::families();
    for (const char* wanted : {"굴림체", "GulimChe", "NanumGothicCoding", "D2Coding", "Noto Sans Mono CJK KR"}) {
        const QString family = QString::fromUtf8(wanted);
        if (families.contains(family)) {
            QFont font(family);
            font.setPointSizeF(kPointSize);
            font.setStyleHint(QFont::Monospace);
            return font;
        }
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(kPointSize);
    return font;
}

const QTextCharFormat& CFastHtmlRichEditCtrl::FormatFor(HtmlScanState state) const
{
    return m_formats[state >= Tag && state <= Text ? state : Text];
}

void CFastHtmlRichEditCtrl::AppendAndScan(const QString& text)
{
    const bool wasEmpty = document()->isEmpty();
    if (wasEmpty) {
        setPlainText(text);
    } else {
        QTextCursor end(document());
        end.movePosition(QTextCursor::End);
        end.insertText(text);
    }
    // The control's whole text; when it was empty that is the text just given.
    FullScan(wasEmpty ? text : toPlainText());
}

void CFastHtmlRichEditCtrl::FullScan(const QString& text)
{
    {
        PassGuard guard(*this, "full");
        // The view's lines are its blocks, split as the scanner splits them.
        m_scanner.Reset(document()->blockCount());
        m_scanner.Scan(text, 0, nullptr);
        m_nFirstUncoloured = 0;
        const int last = LastVisibleLine();
        for (QTextBlock block = firstVisibleBlock(); block.isValid() && block.blockNumber() <= last;
             block = block.next()) {
            // Empty lines are left to the later passes.
            if (block.length() - 1 >= 2)
                ColourLine(block);
        }
    }
    verticalScrollBar()->setValue(0); // the view shows the top of the text
    m_timer.start(kBackgroundIntervalMs, this);
}

void CFastHtmlRichEditCtrl::ColourLine(const QTextBlock& block)
{
    const int line = block.blockNumber();
    QList<HtmlRun> runs;
    m_scanner.ColourLine(CHtmlLineScanner::WithoutLineBreak(block.text()), line, runs);
    QList<QTextLayout::FormatRange> ranges;
    ranges.reserve(runs.size());
    for (const HtmlRun& run : runs)
        ranges.append({run.start, run.length, FormatFor(run.format)});
    // Replacing the layout's formats first gives the whole line the text format.
    block.layout()->setFormats(ranges);
    document()->markContentsDirty(block.position(), block.length() - 1);
}

int CFastHtmlRichEditCtrl::LastVisibleLine() const
{
    const QRect area = viewport()->rect();
    return cursorForPosition(QPoint(area.left() + 1, area.bottom() - 2)).blockNumber();
}

void CFastHtmlRichEditCtrl::ColourVisibleLines()
{
    PassGuard guard(*this, "visible");
    const int last = LastVisibleLine();
    for (QTextBlock block = firstVisibleBlock(); block.isValid() && block.blockNumber() <= last;
         block = block.next()) {
        if (!m_scanner.IsColoured(block.blockNumber()))
            ColourLine(block);
    }
}

bool CFastHtmlRichEditCtrl::MayWorkInBackground() const
{
    if (hasFocus()) {
        const QTextCursor cursor = textCursor();
        if (!cursor.hasSelection() && cursor.positionInBlock() == 0)
            return true;
    }
    // Hidden or partly covered.
    const QRegion shown = visibleRegion();
    return shown.isEmpty() || (shown.rectCount() == 1 && shown.boundingRect() != rect());
}

bool CFastHtmlRichEditCtrl::BackgroundTick()
{
    PassGuard guard(*this, "background");
    const int lines = m_scanner.LineCount();
    int coloured = 0;
    QTextBlock block = document()->findBlockByNumber(m_nFirstUncoloured);
    for (; block.isValid() && coloured < kLinesPerTick; block = block.next()) {
        const int line = block.blockNumber();
        if (line >= lines)
            break;
        if (m_scanner.IsColoured(line))
            continue;
        ColourLine(block);
        ++coloured;
    }
    // Every line above the walk's end is coloured now.
    m_nFirstUncoloured = block.isValid() ? block.blockNumber() : lines;
    return coloured == kLinesPerTick;
}

void CFastHtmlRichEditCtrl::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timer.timerId()) {
        QPlainTextEdit::timerEvent(event);
        return;
    }
    if (!MayWorkInBackground())
        return;
    if (!BackgroundTick())
        m_timer.stop();
}

void CFastHtmlRichEditCtrl::OnScrolled()
{
    if (!m_bBusy)
        ColourVisibleLines();
}

void CFastHtmlRichEditCtrl::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    if (m_scanner.LineCount() > 1 && !m_bBusy)
        ColourVisibleLines();
}

bool CFastHtmlRichEditCtrl::event(QEvent* event)
{
    // Enter, Escape and Tab stay with the control: they neither close the dialog nor
    // move the focus.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab
            || key == Qt::Key_Backtab) {
            event->accept();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}
