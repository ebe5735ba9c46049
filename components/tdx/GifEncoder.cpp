#include "components/tdx/GifEncoder.h"

#include <QImage>

#include <gif_lib.h>

#include <cstring>

namespace tdx {

namespace {

int appendToBuffer(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

} // namespace

QByteArray encodeGif(const QImage& source)
{
    if (source.isNull())
        return QByteArray();
    const QImage image = source.convertToFormat(QImage::Format_RGB32)
                             .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    QList<QRgb> table = image.colorTable();
    table.resize(256, qRgb(255, 255, 255)); // the colour map's size must be a power of two
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = GifColorType{GifByteType(qRed(table[i])), GifByteType(qGreen(table[i])), GifByteType(qBlue(table[i]))};

    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendToBuffer, &error);
    if (!gif)
        return QByteArray();
    ColorMapObject* map = GifMakeMapObject(256, colours);
    bool ok = map && EGifPutScreenDesc(gif, image.width(), image.height(), 8, 0, map) == GIF_OK
        && EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, nullptr) == GIF_OK;
    QByteArray row(image.width(), 0);
    for (int y = 0; ok && y < image.height(); ++y) {
        std::memcpy(row.data(), image.constScanLine(y), size_t(image.width()));
        ok = EGifPutLine(gif, reinterpret_cast<GifPixelType*>(row.data()), image.width()) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    return ok ? out : QByteArray();
}

} // namespace tdx
