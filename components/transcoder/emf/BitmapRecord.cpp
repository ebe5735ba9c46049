#include "components/transcoder/emf/BitmapRecord.h"

#include "components/transcoder/emf/DibDecoder.h"

namespace emfplay {
namespace {

constexpr std::uint32_t BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062, PATCOPY = 0x00F00021,
                        DSTINVERT = 0x00550009, NOOP = 0x00AA0029;
constexpr std::uint32_t DIB_RGB_COLORS = 0;

} // namespace

std::optional<BitmapRecord> BitmapRecord::decodeStretchDIBits(const RecordView& r)
{
    std::int32_t xDest, yDest, xSrc, ySrc, cxSrc, cySrc, cxDest, cyDest;
    std::uint32_t usage, rop;
    DibLocation where;
    if (!r.i32(24, xDest) || !r.i32(28, yDest) || !r.i32(32, xSrc) || !r.i32(36, ySrc) || !r.i32(40, cxSrc)
        || !r.i32(44, cySrc) || !r.u32(48, where.offInfo) || !r.u32(52, where.cbInfo) || !r.u32(56, where.offBits)
        || !r.u32(60, where.cbBits) || !r.u32(64, usage) || !r.u32(68, rop) || !r.i32(72, cxDest)
        || !r.i32(76, cyDest))
        return std::nullopt;
    BitmapRecord out;
    if (rop == NOOP)
        return out;
    if (usage != DIB_RGB_COLORS) // palette indices into a palette the page does not have
        return std::nullopt;
    out.image = DibDecoder::decode(r, where);
    if (out.image.isNull())
        return std::nullopt;
    // Bottom-up bitmaps count the source rows from the bottom.
    std::int32_t height = 0;
    r.i32(where.offInfo + 8, height);
    const double top = height > 0 ? double(out.image.height()) - ySrc - cySrc : ySrc;
    out.kind = Kind::Picture;
    out.dest = QRectF(xDest, yDest, cxDest, cyDest);
    out.source = QRectF(xSrc, top, cxSrc, cySrc);
    return out;
}

std::optional<BitmapRecord> BitmapRecord::decodeSetDIBitsToDevice(const RecordView& r)
{
    std::int32_t xDest, yDest, xSrc, ySrc, cxSrc, cySrc;
    std::uint32_t usage;
    DibLocation where;
    if (!r.i32(24, xDest) || !r.i32(28, yDest) || !r.i32(32, xSrc) || !r.i32(36, ySrc) || !r.i32(40, cxSrc)
        || !r.i32(44, cySrc) || !r.u32(48, where.offInfo) || !r.u32(52, where.cbInfo) || !r.u32(56, where.offBits)
        || !r.u32(60, where.cbBits) || !r.u32(64, usage) || usage != DIB_RGB_COLORS)
        return std::nullopt;
    BitmapRecord out;
    out.image = DibDecoder::decode(r, where);
    if (out.image.isNull())
        return std::nullopt;
    out.kind = Kind::Picture;
    out.dest = QRectF(xDest, yDest, cxSrc, cySrc);
    out.source = QRectF(xSrc, ySrc, cxSrc, cySrc);
    return out;
}

std::optional<BitmapRecord> BitmapRecord::decodeBlit(const RecordView& r, bool stretch)
{
    std::int32_t xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc = 0, cySrc = 0;
    std::uint32_t rop, usage;
    DibLocation where;
    if (!r.i32(24, xDest) || !r.i32(28, yDest) || !r.i32(32, cxDest) || !r.i32(36, cyDest) || !r.u32(40, rop)
        || !r.i32(44, xSrc) || !r.i32(48, ySrc) || !r.u32(80, usage) || !r.u32(84, where.offInfo)
        || !r.u32(88, where.cbInfo) || !r.u32(92, where.offBits) || !r.u32(96, where.cbBits))
        return std::nullopt;
    if (stretch && (!r.i32(100, cxSrc) || !r.i32(104, cySrc)))
        return std::nullopt;
    if (!stretch) {
        cxSrc = cxDest;
        cySrc = cyDest;
    }
    BitmapRecord out;
    out.dest = QRectF(xDest, yDest, cxDest, cyDest);
    if (where.cbInfo == 0) {
        // No source bitmap: a fill of the destination with the brush or a fixed colour.
        switch (rop) {
        case PATCOPY: out.kind = Kind::BrushFill; return out;
        case BLACKNESS: out.kind = Kind::BlackFill; return out;
        case WHITENESS: out.kind = Kind::WhiteFill; return out;
        case NOOP: case DSTINVERT: return out;
        default: return std::nullopt;
        }
    }
    if (rop == NOOP)
        return out;
    if (usage != DIB_RGB_COLORS)
        return std::nullopt;
    out.image = DibDecoder::decode(r, where);
    if (out.image.isNull())
        return std::nullopt;
    out.kind = Kind::Picture;
    out.source = QRectF(xSrc, ySrc, cxSrc, cySrc);
    return out;
}

} // namespace emfplay
