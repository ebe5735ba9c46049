#pragma once
// STRETCHDIBITS, SETDIBITSTODEVICE, BITBLT and STRETCHBLT as data: the picture, the part
// of it to use and where it goes, or, for a blit without a bitmap, the fill it asks for.
#include "components/transcoder/emf/RecordView.h"

#include <QImage>
#include <QRectF>

#include <optional>

namespace emfplay {

struct BitmapRecord {
    enum class Kind {
        Picture,     // draw `image`'s `source` part into `dest`
        BrushFill,   // fill `dest` with the selected brush
        BlackFill,
        WhiteFill,
        Nothing,     // a raster effect a vector page cannot show
    } kind = Kind::Nothing;
    QRectF dest;     // logical; negative extents mirror
    QImage image;
    QRectF source;   // pixels of `image`, top-down

    // Null when the record or its bitmap does not hold together.
    static std::optional<BitmapRecord> decodeStretchDIBits(const RecordView& record);
    static std::optional<BitmapRecord> decodeSetDIBitsToDevice(const RecordView& record);
    static std::optional<BitmapRecord> decodeBlit(const RecordView& record, bool stretch);
};

} // namespace emfplay
