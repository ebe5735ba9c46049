// libFuzzer entry over the EMF reader and player. By default it draws on a small raster
// page, which keeps thousands of runs a minute; KVX_FUZZ_PDF=1 draws into a PDF in memory
// as the transcoder does, slower but through the PDF engine. Build and run: see the
// README (section on the transcoder).
#include "components/transcoder/emf/EmfPlayer.h"
#include "components/transcoder/emf/EmfReader.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>

#include <cstdlib>

namespace {
bool g_pdf = false;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    g_pdf = qEnvironmentVariableIntValue("KVX_FUZZ_PDF") == 1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    emfplay::EmfReader reader;
    if (!reader.open(data, size))
        return 0;
    const QSizeF page = reader.header().pageMillimetres();
    if (g_pdf) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(page, QPageSize::Millimeter));
        writer.setPageMargins(QMarginsF());
        QPainter painter(&writer);
        emfplay::EmfPlayer player(painter, reader.header(), 1200 / 25.4);
        emfplay::EmfPlayer::playAll(reader, player);
        return 0;
    }
    const double unitsPerMm = 128.0 / std::max(page.width(), page.height());
    QImage image(int(page.width() * unitsPerMm) + 1, int(page.height() * unitsPerMm) + 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    emfplay::EmfPlayer player(painter, reader.header(), unitsPerMm);
    emfplay::EmfPlayer::playAll(reader, player);
    return 0;
}
