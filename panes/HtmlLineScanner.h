#pragma once
// The source viewer's HTML scanner, free of widgets: it walks text, keeps the state every
// line ends in (one byte per line: the scan state in the low seven bits, 0x80 once the
// line is coloured), and reports the coloured runs of the text it was given. The viewer
// turns the runs into formats; tests feed it text directly.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

enum HtmlScanState : quint8 {
    Tag = 1,     // from a tag's "<" to its ">"
    Value = 2,   // inside a quoted value within a tag
    Comment = 3, // from "<!--" to "-->"
    Text = 4,    // outside any tag
};

struct HtmlRun {
    int start = 0; // index into the scanned text
    int length = 0;
    HtmlScanState format = Text;
    bool operator==(const HtmlRun& other) const
    {
        return start == other.start && length == other.length && format == other.format;
    }
};

class CHtmlLineScanner {
public:
    static constexpr quint8 kColoured = 0x80;

    // A table of one line in Text.
    CHtmlLineScanner();

    // A zero-filled table of `lineCount` lines.
    void Reset(int lineCount);
    int LineCount() const { return int(m_states.size()); }
    // The state line `line` ends in.
    HtmlScanState EndState(int line) const;
    // The state line `line` starts in: Text for line 0, else the end state of the line before.
    HtmlScanState StartState(int line) const;
    bool IsColoured(int line) const;
    void MarkColoured(int line);

    // Scans `text` from line `line` on. With `runs`, the text is one line without its line
    // break and the coloured runs are appended; without, only the lines' end states are
    // stored. Returns the state at the end of the text.
    HtmlScanState Scan(QStringView text, int line, QList<HtmlRun>* runs);

    // One line as the colouring passes take it: a line of fewer than two characters counts
    // as empty and takes the state it starts in over its whole length. Marks the line coloured.
    HtmlScanState ColourLine(QStringView lineText, int line, QList<HtmlRun>& runs);

    // The lines of `text`, counted the way the text view splits them ("\r\n", "\r", "\n",
    // the paragraph separator and the document's frame marks U+FDD0 and U+FDD1 each end one).
    static int CountLines(QStringView text);
    // A line without its trailing "\r", "\n" or "\r\n".
    static QStringView WithoutLineBreak(QStringView line);

private:
    void Store(int line, HtmlScanState state);

    QByteArray m_states;
};

// The viewer's file text: the whole file decoded from UTF-8 in one piece, so that a
// character whose bytes fall on both sides of a read buffer's edge stays whole.
QString DecodeSourceBytes(const QByteArray& bytes);
