#include "panes/HtmlLineScanner.h"

namespace {

// The text view starts a new line (block) at each of these, as its document does.
constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kBeginningOfFrame = 0xfdd0;
constexpr char16_t kEndOfFrame = 0xfdd1;

inline bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == kParagraphSeparator || c == kBeginningOfFrame || c == kEndOfFrame;
}

} // namespace

CHtmlLineScanner::CHtmlLineScanner()
    : m_states(1, char(Text))
{
}

void CHtmlLineScanner::Reset(int lineCount)
{
    m_states = QByteArray(qMax(0, lineCount), '\0');
}

HtmlScanState CHtmlLineScanner::EndState(int line) const
{
    if (line < 0 || line >= m_states.size())
        return Text;
    const quint8 state = quint8(m_states.at(line)) & 0x7f;
    return state >= Tag && state <= Text ? HtmlScanState(state) : Text;
}

HtmlScanState CHtmlLineScanner::StartState(int line) const
{
    return line <= 0 ? Text : EndState(line - 1);
}

bool CHtmlLineScanner::IsColoured(int line) const
{
    return line >= 0 && line < m_states.size() && (quint8(m_states.at(line)) & kColoured);
}

void CHtmlLineScanner::MarkColoured(int line)
{
    if (line >= 0 && line < m_states.size())
        m_states[line] = char(quint8(m_states.at(line)) | kColoured);
}

void CHtmlLineScanner::Store(int line, HtmlScanState state)
{
    if (line >= 0 && line < m_states.size())
        m_states[line] = char(state);
}

HtmlScanState CHtmlLineScanner::Scan(QStringView text, int line, QList<HtmlRun>* runs)
{
    HtmlScanState state = StartState(line);
    if (text.isEmpty()) {
        Store(line, state);
        return state;
    }
    const bool apply = runs != nullptr;
    auto colour = [&](int from, int to, HtmlScanState format) {
        if (apply && to > from)
            runs->append({from, to - from, format});
    };
    // Large files are scanned whole in one pass: raw pointers, no checks per character.
    const char16_t* c = text.utf16();
    const int size = int(text.size());
    char* states = m_states.data();
    const int lines = int(m_states.size());
    int pending = 0; // start of the run not coloured yet
    int lineStart = 0;
    int k = 0;
    for (; k < size; ++k) {
        const char16_t ch = c[k];
        if (isLineBreak(ch)) {
            if (ch == u'\r' && k + 1 < size && c[k + 1] == u'\n')
                ++k;
            if (line >= 0 && line < lines)
                states[line] = char(state);
            ++line;
            lineStart = k + 1;
            continue;
        }
        switch (state) {
        case Comment:
            if (ch == u'>' && k - 2 >= lineStart && c[k - 1] == u'-' && c[k - 2] == u'-') {
                colour(pending, k + 1, Comment);
                pending = k + 1;
                state = Text;
            }
            break;
        case Tag:
        case Value:
            if (ch == u'<') {
                // A second "<" opens nothing: the scanner is back in text.
                pending = k;
                state = Text;
            } else if (ch == u'"' && state == Value) {
                colour(pending, k + 1, Value);
                pending = k + 1;
                state = Tag;
            } else if (ch == u'"') {
                colour(pending, k, Tag);
                pending = k;
                state = Value;
            } else if (ch == u'>' && state == Tag) {
                colour(pending, k + 1, Tag);
                pending = k + 1;
                state = Text;
            }
            break;
        case Text:
            if (ch == u'<') {
                pending = k;
                state = k + 3 < size && c[k + 1] == u'!' && c[k + 2] == u'-' && c[k + 3] == u'-' ? Comment : Tag;
            }
            break;
        }
    }
    // What is still open at the end keeps its colour up to the end of the text.
    if (pending < k && state != Text)
        colour(pending, k, state);
    if (line < lines)
        Store(line, state);
    return state;
}

HtmlScanState CHtmlLineScanner::ColourLine(QStringView lineText, int line, QList<HtmlRun>& runs)
{
    HtmlScanState state;
    if (lineText.size() < 2) {
        state = StartState(line);
        Store(line, state);
        if (state != Text && !lineText.isEmpty())
            runs.append({0, int(lineText.size()), state});
    } else {
        state = Scan(lineText, line, &runs);
    }
    MarkColoured(line);
    return state;
}

int CHtmlLineScanner::CountLines(QStringView text)
{
    int lines = 1;
    const int size = int(text.size());
    for (int k = 0; k < size; ++k) {
        const char16_t c = text[k].unicode();
        if (!isLineBreak(c))
            continue;
        if (c == u'\r' && k + 1 < size && text[k + 1] == u'\n')
            ++k;
        ++lines;
    }
    return lines;
}

QStringView CHtmlLineScanner::WithoutLineBreak(QStringView line)
{
    while (!line.isEmpty() && isLineBreak(line.back().unicode()))
        line.chop(1);
    return line;
}

QString DecodeSourceBytes(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes);
}
