// bench_srcview [--hold SECONDS] [FILE.xhtml]
// Opens FILE (default: a generated 20 MB XHTML chapter) in the source viewer and prints:
// the load (read, decode, text shown), how long after the text is shown the first screen
// is coloured, the longest pass on the UI thread, and how long a jump to the end takes to
// colour what shows there. With --hold the window stays up that long (for screenshots).
#include "panes/FastHtmlRichEditCtrl.h"
#include "panes/SrcShowDlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>

#include <cstdio>
#include <map>
#include <string>

namespace {

QString makeChapter(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\" "
               "\"http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd\">\n<html xmlns=\"http://www.w3.org/1999/xhtml\">\n"
               "<head><title>큰 장</title></head>\n<body>\n");
    for (int n = 0; file.size() < size; ++n) {
        QByteArray block;
        block += "<!-- 문단 " + QByteArray::number(n) + " -->\n";
        block += "<p class=\"body\" id=\"p" + QByteArray::number(n)
            + "\">동해 물과 백두산이 마르고 닳도록 <a href=\"ch2.xhtml#n" + QByteArray::number(n)
            + "\">하느님이</a> 보우하사 우리나라 만세. The quick brown fox jumps over the lazy dog.</p>\n";
        block += "<img src=\"images/p" + QByteArray::number(n % 50) + ".png\"\n     alt=\"그림 > 설명\" />\n";
        file.write(block);
    }
    file.write("</body>\n</html>\n");
    return path;
}

double ms(qint64 ns) { return double(ns) / 1e6; }

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int hold = 0;
    if (args.size() >= 2 && args.first() == QLatin1String("--hold")) {
        hold = args.at(1).toInt();
        args = args.mid(2);
    }
    QTemporaryDir scratch;
    const QString path = args.isEmpty() ? makeChapter(scratch.filePath(QStringLiteral("big.xhtml")), 20 * 1024 * 1024)
                                        : args.first();
    if (path.isEmpty()) {
        std::fprintf(stderr, "bench_srcview: cannot write the test chapter\n");
        return 1;
    }

    CSrcShowDlg dialog;
    dialog.SetCaption(QStringLiteral("본문 소스보기"));
    dialog.SetFilePath(path);
    CFastHtmlRichEditCtrl& text = dialog.Control();
    std::map<std::string, std::pair<int, qint64>> passes; // pass -> (count, longest)
    qint64 firstScreen = -1;
    QObject::connect(&text, &CFastHtmlRichEditCtrl::passDone, [&](const char* pass, qint64 ns) {
        auto& entry = passes[pass];
        ++entry.first;
        entry.second = qMax(entry.second, ns);
        if (firstScreen < 0 && std::string(pass) == "full")
            firstScreen = ns;
    });

    QElapsedTimer clock;
    QEventLoop loop;
    QObject::connect(&dialog, &CSrcShowDlg::loaded, &loop, &QEventLoop::quit);
    clock.start();
    dialog.show();
    loop.exec();
    const qint64 loadNs = clock.nsecsElapsed() - qint64(CSrcShowDlg::kLoadDelayMs) * 1000000 - firstScreen;

    // Background ticks as the timer runs them: the caret stands at a line start.
    dialog.activateWindow();
    text.setFocus();
    QElapsedTimer background;
    background.start();
    while (background.elapsed() < 1500)
        app.processEvents(QEventLoop::WaitForMoreEvents, 20);

    // A jump to the end colours what shows there.
    clock.restart();
    text.verticalScrollBar()->setValue(text.verticalScrollBar()->maximum());
    const qint64 jumpNs = clock.nsecsElapsed();
    const int lastLine = text.Scanner().LineCount() - 2;
    const bool endColoured = text.Scanner().IsColoured(lastLine);
    app.processEvents();

    std::printf("file: %s (%lld bytes, %d lines)\n", qPrintable(path), QFile(path).size(), text.Scanner().LineCount());
    std::printf("load (read, decode, text shown): %.1f ms\n", ms(loadNs));
    std::printf("first screen coloured after the text was shown: %.1f ms\n", ms(firstScreen));
    std::printf("jump to the end coloured in: %.1f ms (last line coloured: %s)\n", ms(jumpNs), endColoured ? "yes" : "no");
    for (const auto& [pass, entry] : passes)
        std::printf("pass %-10s runs %5d  longest %.2f ms\n", pass.c_str(), entry.first, ms(entry.second));
    if (hold > 0) {
        text.verticalScrollBar()->setValue(0);
        QTimer::singleShot(hold * 1000, &app, &QApplication::quit);
        return app.exec();
    }
    return 0;
}
