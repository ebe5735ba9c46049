#pragma once
// Turns a device-independent bitmap carried in a record (BITMAPINFO at one offset, the
// pixel rows at another) into an image. Uncompressed 1, 4, 8, 16, 24 and 32 bits per
// pixel, bit-field masks for 16 and 32, top-down and bottom-up rows. Anything that does
// not fit the record, or a size beyond what a page can show, gives a null image.
#include "components/transcoder/emf/RecordView.h"

#include <QImage>

namespace emfplay {

struct DibLocation {
    std::uint32_t offInfo = 0;
    std::uint32_t cbInfo = 0;
    std::uint32_t offBits = 0;
    std::uint32_t cbBits = 0;
};

class DibDecoder {
public:
    static constexpr std::int64_t kMaxPixels = 64LL * 1024 * 1024;

    static QImage decode(const RecordView& record, const DibLocation& where);
};

} // namespace emfplay
