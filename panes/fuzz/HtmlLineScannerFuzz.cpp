// libFuzzer target over the source viewer's line scanner, driven as the viewer drives it:
// the file's bytes are decoded, put into a text document (whose blocks are the viewer's
// lines), scanned whole, and then coloured line by line, once from the last line up (each
// line starting in the state the whole scan left it) and once from the top down. Any text
// must give as many scanner lines as the view has blocks, runs that lie inside their line in
// order without overlapping, and the same end state per line whether a line was reached by
// the whole scan or coloured on its own. Build and run: see the README's source viewer part.
#include "panes/HtmlLineScanner.h"

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void checkRuns(const QList<HtmlRun>& runs, qsizetype lineLength)
{
    int end = 0;
    for (const HtmlRun& run : runs) {
        if (run.length <= 0 || run.start < end || run.start + run.length > lineLength || run.format == Text)
            __builtin_trap();
        end = run.start + run.length;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The document needs a GUI application for its fonts; no window is ever shown.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = DecodeSourceBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    QTextDocument document;
    document.setPlainText(text);
    const int lines = document.blockCount();
    if (CHtmlLineScanner::CountLines(text) != lines)
        __builtin_trap();

    CHtmlLineScanner scanner;
    scanner.Reset(lines);
    const HtmlScanState last = scanner.Scan(text, 0, nullptr);
    if (scanner.LineCount() != lines || scanner.EndState(lines - 1) != last)
        __builtin_trap();
    QList<HtmlScanState> scanned;
    for (int line = 0; line < lines; ++line) {
        if (scanner.IsColoured(line))
            __builtin_trap();
        scanned.append(scanner.EndState(line));
    }

    for (QTextBlock block = document.lastBlock(); block.isValid(); block = block.previous()) {
        const int line = block.blockNumber();
        const QString blockText = block.text();
        const QStringView lineText = CHtmlLineScanner::WithoutLineBreak(blockText);
        const HtmlScanState start = scanner.StartState(line);
        QList<HtmlRun> runs;
        const HtmlScanState end = scanner.ColourLine(lineText, line, runs);
        checkRuns(runs, lineText.size());
        if (end != (lineText.size() < 2 ? start : scanned.at(line)) || !scanner.IsColoured(line))
            __builtin_trap();
    }

    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QList<HtmlRun> runs;
        const QString blockText = block.text();
        const QStringView lineText = CHtmlLineScanner::WithoutLineBreak(blockText);
        scanner.ColourLine(lineText, block.blockNumber(), runs);
        checkRuns(runs, lineText.size());
    }
    return 0;
}
