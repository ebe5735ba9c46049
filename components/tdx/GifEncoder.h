#pragma once
// Writes a picture as a GIF (Qt reads GIF but cannot write it). Used for the page preview
// a document file carries.
#include <QByteArray>

class QImage;

namespace tdx {

// Empty when the picture is null or encoding fails.
QByteArray encodeGif(const QImage& image);

} // namespace tdx
