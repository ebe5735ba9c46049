// The source viewer's scanner over a table of sources: each line's colours (t tag,
// v value, c comment, . text) and the state it ends in, colouring lines top-down as the
// viewer's passes do.
#include "panes/HtmlLineScanner.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>

namespace {

char stateLetter(HtmlScanState state)
{
    switch (state) {
    case Tag: return 't';
    case Value: return 'v';
    case Comment: return 'c';
    case Text: return '.';
    }
    return '?';
}

// "mask|end state" for every line, the lines split as the viewer's text document splits them.
QStringList colourLines(const QString& text)
{
    QTextDocument document;
    document.setPlainText(text);
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines.append(block.text());
    CHtmlLineScanner scanner;
    EXPECT_EQ(CHtmlLineScanner::CountLines(text), lines.size()) << "as many lines as the view";
    scanner.Reset(int(lines.size()));
    scanner.Scan(text, 0, nullptr);
    QStringList result;
    for (int line = 0; line < lines.size(); ++line) {
        QList<HtmlRun> runs;
        scanner.ColourLine(lines.at(line), line, runs);
        QString mask(lines.at(line).size(), QLatin1Char('.'));
        for (const HtmlRun& run : runs)
            for (int k = run.start; k < run.start + run.length; ++k)
                mask[k] = QLatin1Char(stateLetter(run.format));
        EXPECT_TRUE(scanner.IsColoured(line));
        result.append(mask + QLatin1Char('|') + QLatin1Char(stateLetter(scanner.EndState(line))));
    }
    return result;
}

struct ScanCase {
    const char* name;
    QByteArray source; // UTF-8, as read from the file
    QStringList expected;
};

QByteArray padding(int size) { return QByteArray(size, 'x'); }

} // namespace

TEST(HtmlLineScannerTest, ColoursEachLineByTheScanRules)
{
    const QByteArray hangul = "한글"; // three bytes a character
    // Line 2's first character has its bytes on both sides of 65536: line 1 takes 35 bytes.
    const int kSecondEdge = 65535 - (4095 + 35);
    const ScanCase cases[] = {
        {"a quoted \">\" does not end the tag", "<a href=\"x>y\">z",
         {"ttttttttvvvvvt.|."}},
        {"a second \"<\" in an open tag leaves the tag uncoloured", "<a <b>c",
         {".......|."}},
        {"a comment over three lines", "a<!-- x\nyy\r\nz -->b",
         {".cccccc|c", "cc|c", "ccccc.|."}},
        {"a tag continued on the next line", "<img\n  src=\"a.png\" />x",
         {"tttt|t", "ttttttvvvvvvvttt.|."}},
        {"a line holding a single \">\" keeps the open tag", "<p\n>\nq>",
         {"tt|t", "t|t", "tt|."}},
        {"a value continued on the next line", "<a title=\"one\ntwo\">",
         {"tttttttttvvvv|v", "vvvvt|."}},
        {"\"--\" on the line before does not end a comment", "<!-- a -\n->",
         {"cccccccc|c", "cc|c"}},
        {"text quotes and \">\" stay text", "say \"hi\" > 1",
         {"............|."}},
        {"a frame mark (U+FDD0, U+FDD1) ends a line as in the view", "<a\xef\xb7\x90" "b>c\xef\xb7\x91" "<!-- x",
         {"tt|t", "tt.|.", "cccccc|c"}},
        {"a paragraph separator ends a line", "<p\xe2\x80\xa9" "class=\"a\">",
         {"tt|t", "ttttttvvvt|."}},
        // Line 1's first character has its three bytes on both sides of 4096.
        {"multi-byte characters across read-buffer edges",
         padding(4094) + "\n" + hangul + "<b class=\"" + hangul + "\">" + hangul + "</b>\n" + padding(kSecondEdge)
             + hangul + hangul,
         {QString(4094, QLatin1Char('.')) + "|.", "..tttttttttvvvvt..tttt|.",
          QString(kSecondEdge + 4, QLatin1Char('.')) + "|."}},
    };
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = DecodeSourceBytes(c.source);
        EXPECT_EQ(text.toUtf8(), c.source) << "decoded whole";
        const QStringList lines = colourLines(text);
        ASSERT_EQ(lines.size(), c.expected.size());
        for (int i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines.at(i).toStdString(), c.expected.at(i).toStdString()) << "line " << i;
    }
}

TEST(HtmlLineScannerTest, FullScanStoresEveryLinesEndStateUncoloured)
{
    CHtmlLineScanner scanner;
    const QString text = QStringLiteral("<p\nclass=\"a\n\"><!--\n-->x");
    scanner.Reset(CHtmlLineScanner::CountLines(text));
    EXPECT_EQ(scanner.Scan(text, 0, nullptr), Text);
    const HtmlScanState expected[] = {Tag, Value, Comment, Text};
    ASSERT_EQ(scanner.LineCount(), 4);
    for (int line = 0; line < 4; ++line) {
        EXPECT_EQ(scanner.EndState(line), expected[line]) << line;
        EXPECT_FALSE(scanner.IsColoured(line)) << line;
    }
    EXPECT_EQ(CHtmlLineScanner::CountLines(u"a\r\nb\rc\nd"), 4);
    EXPECT_EQ(CHtmlLineScanner::CountLines(u""), 1);
}
