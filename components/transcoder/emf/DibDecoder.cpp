#include "components/transcoder/emf/DibDecoder.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

namespace emfplay {
namespace {

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_BITFIELDS = 3;
constexpr std::uint32_t kInfoHeader = 40;

struct Mask {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    static Mask of(std::uint32_t mask)
    {
        Mask m{mask, 0, 0};
        if (!mask)
            return m;
        while (!(mask & 1)) {
            mask >>= 1;
            ++m.shift;
        }
        while (mask & 1) {
            mask >>= 1;
            ++m.bits;
        }
        return m;
    }
    int expand(std::uint32_t value) const
    {
        if (!bits)
            return 0;
        const std::uint32_t v = (value & mask) >> shift;
        const std::uint32_t top = (1u << std::min(bits, 31)) - 1;
        return int(bits >= 8 ? (v >> (bits - 8)) & 0xFF : v * 255 / top);
    }
};

} // namespace

QImage DibDecoder::decode(const RecordView& record, const DibLocation& where)
{
    if (where.cbInfo < kInfoHeader || !record.fits(where.offInfo, where.cbInfo)
        || !record.fits(where.offBits, where.cbBits))
        return {};
    const RecordView info(record.data() + where.offInfo, where.cbInfo);
    std::uint32_t headerSize = 0, compression = 0, colorsUsed = 0;
    std::int32_t width = 0, height = 0;
    std::int16_t planes = 0, bitCount = 0;
    info.u32(0, headerSize);
    info.i32(4, width);
    info.i32(8, height);
    info.i16(12, planes);
    info.i16(14, bitCount);
    info.u32(16, compression);
    info.u32(32, colorsUsed);
    if (headerSize < kInfoHeader || headerSize > where.cbInfo || width <= 0 || height == 0
        || height == std::numeric_limits<std::int32_t>::min())
        return {};
    const bool topDown = height < 0;
    const std::int64_t rows = std::llabs(height);
    if (std::int64_t(width) * rows > kMaxPixels)
        return {};
    switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32:
        break;
    default:
        return {};
    }
    if (compression != BI_RGB && !(compression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32)))
        return {};

    const std::int64_t stride = ((std::int64_t(width) * bitCount + 31) / 32) * 4;
    if (stride * rows > where.cbBits)
        return {};

    // Colour table for paletted depths, or the three masks of BI_BITFIELDS.
    std::vector<QRgb> palette;
    Mask red = Mask::of(0x7C00), green = Mask::of(0x03E0), blue = Mask::of(0x001F);
    if (bitCount == 24 || bitCount == 32) {
        red = Mask::of(0xFF0000);
        green = Mask::of(0x00FF00);
        blue = Mask::of(0x0000FF);
    }
    if (bitCount <= 8) {
        const std::uint32_t maxColors = 1u << bitCount;
        const std::uint32_t count = colorsUsed == 0 || colorsUsed > maxColors ? maxColors : colorsUsed;
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint32_t quad = 0;
            if (!info.u32(headerSize + 4 * i, quad))
                return {}; // the table the header promises is not there
            palette.push_back(qRgb(int((quad >> 16) & 0xFF), int((quad >> 8) & 0xFF), int(quad & 0xFF)));
        }
        palette.resize(maxColors, qRgb(0, 0, 0));
    } else if (compression == BI_BITFIELDS) {
        // The masks follow a 40-byte header; larger headers carry them at the same place.
        const std::uint32_t at = kInfoHeader;
        std::uint32_t r = 0, g = 0, b = 0;
        if (!info.u32(at, r) || !info.u32(at + 4, g) || !info.u32(at + 8, b))
            return {};
        red = Mask::of(r);
        green = Mask::of(g);
        blue = Mask::of(b);
    }

    QImage image(width, int(rows), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const unsigned char* bits = record.data() + where.offBits;
    for (std::int64_t y = 0; y < rows; ++y) {
        const unsigned char* line = bits + (topDown ? y : rows - 1 - y) * stride;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (std::int32_t x = 0; x < width; ++x) {
            switch (bitCount) {
            case 1:
            case 4:
            case 8: {
                const std::int64_t bit = std::int64_t(x) * bitCount;
                const int shift = 8 - bitCount - int(bit % 8);
                const unsigned index = (line[bit / 8] >> shift) & ((1u << bitCount) - 1);
                out[x] = palette[index];
                break;
            }
            case 16: {
                const std::uint32_t v = std::uint32_t(line[x * 2]) | std::uint32_t(line[x * 2 + 1]) << 8;
                out[x] = qRgb(red.expand(v), green.expand(v), blue.expand(v));
                break;
            }
            case 24:
                out[x] = qRgb(line[x * 3 + 2], line[x * 3 + 1], line[x * 3]);
                break;
            case 32: {
                const std::uint32_t v = qFromLittleEndian<quint32>(line + x * 4);
                out[x] = qRgb(red.expand(v), green.expand(v), blue.expand(v));
                break;
            }
            }
        }
    }
    return image;
}

} // namespace emfplay
