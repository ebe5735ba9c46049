#include "components/transcoder/EMF2PDFTranscoder.h"

#include "components/transcoder/PdfInfoUpdate.h"
#include "components/transcoder/emf/EmfPlayer.h"
#include "components/transcoder/emf/EmfReader.h"
#include "components/transcoder/emf/FontCache.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>

using namespace platform;

namespace {

constexpr int kResolution = 1200;

template <std::size_t N>
QString fieldText(const char16_t (&field)[N])
{
    std::size_t length = 0;
    while (length < N && field[length])
        ++length;
    return QString::fromUtf16(field, qsizetype(length));
}

} // namespace

class CEMF2PDFTranscoder::Private {
public:
    enum class State { Idle, Writing, Ended };

    explicit Private(HWND window) : window(window) {}

    void notify(ProgressKind kind, bool withRecord)
    {
        SendMessage(window, WM_CONVERT_PROGRESS, kind, withRecord ? reinterpret_cast<LPARAM>(&progress) : 0);
    }

    bool cancelRequested()
    {
        PumpWindowMessages(window);
        return GetWindowLongPtr(window, GWLP_USERDATA) == 1;
    }

    // Percent of the document when its length is known, else of the current page.
    void reportPercent(int page, double fraction)
    {
        const std::uint32_t expected = std::max<std::uint32_t>(expectedPages, std::uint32_t(page));
        const double share = expectedPages ? (page - 1 + fraction) / expected : fraction;
        const auto percent = std::uint32_t(std::clamp(share * 100.0, 0.0, 100.0));
        if (percent == progress.nPercent && percentSent)
            return;
        progress.nPercent = percent;
        percentSent = true;
        notify(PROGRESS_PERCENT, true);
    }

    // Stops the document without touching the output path and says so once.
    void abort(const QString& why)
    {
        if (state == State::Ended)
            return;
        reason = why;
        if (painter.isActive())
            painter.end();
        writer.reset();
        pdf.reset();
        if (file)
            file->cancelWriting();
        file.reset();
        state = State::Ended;
        notify(PROGRESS_ABORT, true);
    }

    bool startPage(const QSizeF& millimetres)
    {
        writer->setPageSize(QPageSize(millimetres, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
        writer->setPageMargins(QMarginsF(0, 0, 0, 0));
        if (!painter.isActive())
            return painter.begin(writer.get());
        return writer->newPage();
    }

    HWND window;
    State state = State::Idle;
    QString reason;
    std::uint32_t unreadable = 0;
    QString outputPath;
    QString title;
    QString author;
    std::uint32_t expectedPages = 0;
    std::uint32_t pages = 0;
    _tagPROGRESS_INFO progress{};
    bool percentSent = false;
    std::unique_ptr<QSaveFile> file;
    std::unique_ptr<kvxpdf::PdfInfoUpdate> pdf;
    std::unique_ptr<QPdfWriter> writer;
    QPainter painter;
    emfplay::FontCache fonts; // shared by the pages of the document
};

CEMF2PDFTranscoder::CEMF2PDFTranscoder(HWND window) : d(std::make_unique<Private>(window)) {}

CEMF2PDFTranscoder::~CEMF2PDFTranscoder()
{
    // A document left open still gets its final notification.
    if (d->state == Private::State::Writing)
        d->abort(QStringLiteral("the document was never ended"));
}

QString CEMF2PDFTranscoder::FailureReason() const { return d->reason; }

int CEMF2PDFTranscoder::BeginDocument(const _tagDOCUMENT_INFO* info, unsigned int)
{
    if (d->state != Private::State::Idle)
        return 0;
    d->state = Private::State::Writing;
    d->notify(PROGRESS_BEGIN, false);
    if (!info || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        d->abort(info ? QStringLiteral("PDFs are drawn only in a GUI application") : QStringLiteral("no document record"));
        return 0;
    }
    d->outputPath = fieldText(info->szOutputPath);
    d->title = fieldText(info->szDocumentName);
    d->author = fieldText(info->szUserName);
    d->expectedPages = info->dwOptions[0];
    if (d->outputPath.isEmpty()) {
        d->abort(QStringLiteral("no output path"));
        return 0;
    }
    // The PDF grows beside the output path and replaces it only when it is complete.
    d->file = std::make_unique<QSaveFile>(d->outputPath);
    // A writable file in a folder that takes no new files is still written, in place.
    d->file->setDirectWriteFallback(true);
    if (!d->file->open(QIODevice::WriteOnly)) {
        d->abort(QStringLiteral("cannot write %1: %2").arg(d->outputPath, d->file->errorString()));
        return 0;
    }
    d->pdf = std::make_unique<kvxpdf::PdfInfoUpdate>(d->file.get());
    d->writer = std::make_unique<QPdfWriter>(d->pdf.get());
    d->writer->setResolution(kResolution);
    d->writer->setTitle(d->title);
    d->writer->setCreator(QStringLiteral("KVXE2PT32"));
    return 1;
}

int CEMF2PDFTranscoder::TranscodePage(HENHMETAFILE metafile, int page, int)
{
    if (d->state != Private::State::Writing)
        return 0;
    if (d->cancelRequested()) {
        d->abort(QStringLiteral("cancelled"));
        return 0;
    }
    emfplay::EmfReader reader;
    const QByteArray bits = metafile ? metafile->bits() : QByteArray();
    if (!reader.open(reinterpret_cast<const unsigned char*>(bits.constData()), std::size_t(bits.size()))) {
        ++d->unreadable;
        return 1; // nothing that can be drawn; the run goes on with the next page
    }

    const int number = std::max(page, 1);
    ++d->pages;
    d->progress = _tagPROGRESS_INFO{};
    d->progress.nCurrentPage = std::uint32_t(number);
    d->progress.nTotalPages = std::max<std::uint32_t>(d->expectedPages, std::uint32_t(number));
    d->percentSent = false;
    d->notify(PROGRESS_PAGE, true);
    d->reportPercent(number, 0);

    if (!d->startPage(reader.header().pageMillimetres())) {
        d->abort(QStringLiteral("cannot start page %1 of the PDF").arg(number));
        return 0;
    }
    emfplay::EmfPlayer player(d->painter, reader.header(), kResolution / 25.4, &d->fonts);
    const bool finished = emfplay::EmfPlayer::playAll(reader, player, [&](std::size_t done, std::size_t total) {
        d->progress.nDrawnRecords = player.stats().drawn;
        d->progress.nSkippedRecords = player.stats().skipped;
        d->reportPercent(number, total ? double(done) / double(total) : 0.0);
        return !d->cancelRequested();
    });
    d->painter.resetTransform();
    d->painter.setClipping(false);
    d->progress.nDrawnRecords = player.stats().drawn;
    d->progress.nSkippedRecords = player.stats().skipped;
    if (!finished || d->cancelRequested()) {
        d->abort(QStringLiteral("cancelled"));
        return 0;
    }
    d->reportPercent(number, 1.0);
    return 1;
}

int CEMF2PDFTranscoder::EndDocument()
{
    if (d->state != Private::State::Writing)
        return 0;
    // No page, no PDF: an empty document is not a success.
    if (d->pages == 0) {
        d->abort(d->unreadable ? QStringLiteral("no page could be drawn: %1 pages had no readable header").arg(d->unreadable)
                               : QStringLiteral("the document has no page"));
        return 0;
    }
    if (d->cancelRequested()) {
        d->abort(QStringLiteral("cancelled"));
        return 0;
    }
    d->notify(PROGRESS_SAVING, false);
    const bool painted = d->painter.end();
    d->writer.reset();
    const bool described = painted && d->pdf->appendInfo(d->title, d->author, QStringLiteral("KVXE2PT32"));
    if (!described || !d->file->commit()) {
        d->abort(QStringLiteral("cannot save %1: %2").arg(d->outputPath, d->file->errorString()));
        return 0;
    }
    d->pdf.reset();
    d->file.reset();
    d->state = Private::State::Ended;
    d->progress.nPercent = 100;
    d->progress.nTotalPages = d->pages;
    d->notify(PROGRESS_DONE, true);
    return 1;
}
