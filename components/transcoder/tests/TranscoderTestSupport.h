#pragma once
// Helpers for the transcoder tests: documents made with our EMF writer, a run through the
// transcoder into a PDF in the test's temporary folder, and the poppler tools as judges.
#include "components/emfwriter/EmfWriter.h"
#include "components/transcoder/EMF2PDFTranscoder.h"
#include "platform/core/RecordingWindow.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QString>

#include <cstring>
#include <vector>

namespace transcodertest {

inline _tagDOCUMENT_INFO documentInfo(const QString& output, const QString& name = QStringLiteral("Report"),
                                      const QString& user = QStringLiteral("tester"), std::uint32_t expectedPages = 0)
{
    _tagDOCUMENT_INFO info;
    std::memset(&info, 0, sizeof info);
    std::memcpy(info.szOutputPath, output.utf16(), std::size_t(std::min<qsizetype>(output.size(), 1023)) * 2);
    std::memcpy(info.szDocumentName, name.utf16(), std::size_t(std::min<qsizetype>(name.size(), 259)) * 2);
    std::memcpy(info.szUserName, user.utf16(), std::size_t(std::min<qsizetype>(user.size(), 259)) * 2);
    info.dwOptions[0] = expectedPages;
    return info;
}

inline QString outputPath(const QString& name) { return QDir::temp().filePath(name); }

// Runs pages through one transcoder the way the converter does; returns EndDocument's result.
inline int transcode(const std::vector<QByteArray>& pages, const QString& output, platform::RecordingWindow& window,
                     const QString& name = QStringLiteral("Report"), const QString& user = QStringLiteral("tester"))
{
    const _tagDOCUMENT_INFO info = documentInfo(output, name, user);
    CEMF2PDFTranscoder transcoder(&window);
    transcoder.BeginDocument(&info, 0);
    int number = 0;
    for (const QByteArray& page : pages) {
        platform::HENHMETAFILE metafile = platform::SetEnhMetaFileBits(
            unsigned(page.size()), reinterpret_cast<const unsigned char*>(page.constData()));
        if (!metafile)
            continue;
        const int goOn = transcoder.TranscodePage(metafile, ++number, 0);
        platform::DeleteEnhMetaFile(metafile);
        if (!goOn)
            break;
    }
    return transcoder.EndDocument();
}

inline QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString pdfText(const QString& pdf) { return runTool("pdftotext", {"-layout", pdf, "-"}); }
inline QString pdfInfo(const QString& pdf, int lastPage = 0)
{
    QStringList args{pdf};
    if (lastPage)
        args = QStringList{"-f", "1", "-l", QString::number(lastPage), pdf};
    return runTool("pdfinfo", args);
}

// Renders one page at `dpi` and returns it.
inline QImage renderPage(const QString& pdf, int page, int dpi)
{
    const QString prefix = QDir::temp().filePath(QStringLiteral("render-%1").arg(page));
    runTool("pdftoppm", {"-png", "-r", QString::number(dpi), "-f", QString::number(page), "-l", QString::number(page),
                         "-singlefile", pdf, prefix});
    return QImage(prefix + ".png");
}

// A page with a line of text at millimetre position (x, y) from the top left.
inline QByteArray textPage(const QString& text, QSizeF pageMm = QSizeF(210, 297))
{
    emfwriter::EmfWriter writer(pageMm);
    const std::uint32_t font = writer.createFont(-24, 400, false, QStringLiteral("DejaVu Sans"));
    writer.selectObject(font);
    writer.setBkMode(1);
    writer.textOut(QPoint(96, 96), text);
    return writer.finish();
}

} // namespace transcodertest
