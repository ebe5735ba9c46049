// Transcodes a 500-page document (text pages and vector pages taking turns) into a PDF
// and prints pages per second and the peak resident memory. Pages are written one at a
// time just before they are handed over, as the converter reads them from the spool;
// writing them is not timed.
//   bench_transcoder [PAGES] [OUTPUT.pdf]
#include "components/emfwriter/EmfWriter.h"
#include "components/transcoder/EMF2PDFTranscoder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>

#include <sys/resource.h>

#include <time.h>

#include <cmath>
#include <cstdio>
#include <cstring>

using emfwriter::EmfWriter;
using emfwriter::rgb;

namespace {

class CountingWindow : public platform::MessageWindow {
public:
    platform::LRESULT sendMessage(unsigned, platform::WPARAM kind, platform::LPARAM) override
    {
        last = unsigned(kind);
        ++count;
        return 1;
    }
    unsigned last = 0;
    int count = 0;
};

QByteArray textPage(int number)
{
    EmfWriter w(QSizeF(210, 297));
    w.selectObject(w.createFont(-14, 400, false, QStringLiteral("DejaVu Sans")));
    w.setBkMode(1);
    w.setTextAlign(24);
    for (int line = 0; line < 45; ++line) {
        const QString s = QStringLiteral("%1.%2 The transcoder draws every line of a printed page as text. 한글 문장도 함께")
                              .arg(number)
                              .arg(line + 1);
        QList<int> advances;
        for (QChar c : s)
            advances << (c.unicode() >= 0x1100 ? 14 : 8);
        w.textOut(QPoint(60, 80 + line * 23), s, advances);
    }
    return w.finish();
}

QByteArray vectorPage(int number)
{
    EmfWriter w(QSizeF(210, 297));
    w.selectObject(w.createPen(0, 2, rgb(0, 0, 128)));
    for (int i = 0; i < 60; ++i) {
        w.moveTo({40, 40 + i * 17});
        w.lineTo({760, 40 + ((i * 37 + number) % 60) * 17});
    }
    w.selectObject(w.createBrush(0, rgb(200, 220, 255)));
    for (int i = 0; i < 30; ++i) {
        w.rectangle(QRect(60 + (i % 6) * 110, 80 + (i / 6) * 180, 90, 60));
        w.ellipse(QRect(60 + (i % 6) * 110, 150 + (i / 6) * 180, 90, 60));
    }
    QList<QPoint> curve;
    for (int i = 0; i < 61; ++i)
        curve << QPoint(40 + i * 12, 1000 + int(60 * std::sin(i * 0.3 + number)));
    w.poly(85, curve); // POLYBEZIER16
    return w.finish();
}

// CPU time of the process: on a shared machine wall time also counts other work.
double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    const int pages = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    const QString output = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::temp().filePath("bench-transcoder.pdf");

    _tagDOCUMENT_INFO info;
    std::memset(&info, 0, sizeof info);
    std::memcpy(info.szOutputPath, output.utf16(), std::size_t(std::min<qsizetype>(output.size(), 1023)) * 2);
    info.dwOptions[0] = std::uint32_t(pages);

    const long before = peakKilobytes();
    CountingWindow window;
    qint64 nanoseconds = 0;
    double cpu = 0;
    QElapsedTimer timer;
    double cpuStart = 0;
    {
        CEMF2PDFTranscoder transcoder(&window);
        timer.start();
        cpuStart = cpuSeconds();
        transcoder.BeginDocument(&info, 0);
        nanoseconds += timer.nsecsElapsed();
        cpu += cpuSeconds() - cpuStart;
        for (int page = 1; page <= pages; ++page) {
            const QByteArray emf = page % 2 ? textPage(page) : vectorPage(page);
            timer.start();
            cpuStart = cpuSeconds();
            platform::HENHMETAFILE metafile = platform::SetEnhMetaFileBits(
                unsigned(emf.size()), reinterpret_cast<const unsigned char*>(emf.constData()));
            const int goOn = transcoder.TranscodePage(metafile, page, 0);
            platform::DeleteEnhMetaFile(metafile);
            nanoseconds += timer.nsecsElapsed();
            cpu += cpuSeconds() - cpuStart;
            if (!goOn)
                break;
        }
        timer.start();
        cpuStart = cpuSeconds();
        transcoder.EndDocument();
        nanoseconds += timer.nsecsElapsed();
        cpu += cpuSeconds() - cpuStart;
    }
    const double seconds = double(nanoseconds) / 1e9;
    std::printf("pages: %d (text and vector pages taking turns)\n", pages);
    std::printf("final notification: %s after %d notifications\n", window.last == PROGRESS_DONE ? "DONE" : "ABORT",
                window.count);
    std::printf("transcoding wall time: %.2f s, %.1f pages/s\n", seconds, pages / seconds);
    std::printf("transcoding CPU time: %.2f s, %.1f pages/s of CPU\n", cpu, pages / cpu);
    std::printf("peak resident memory: %.1f MB (%.1f MB before the run)\n", peakKilobytes() / 1024.0, before / 1024.0);
    std::printf("PDF: %s, %.1f MB\n", qPrintable(output), QFileInfo(output).size() / 1048576.0);
    return window.last == PROGRESS_DONE ? 0 : 1;
}
