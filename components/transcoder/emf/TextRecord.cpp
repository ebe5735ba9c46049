#include "components/transcoder/emf/TextRecord.h"

#include <algorithm>

namespace emfplay {
namespace {

constexpr std::uint32_t kText = 36; // EMRTEXT within the record
constexpr std::uint32_t ETO_GLYPH_INDEX = 0x10;
constexpr std::uint32_t ETO_PDY = 0x2000;
constexpr double kMaxAdvance = 1e9;

} // namespace

std::optional<TextRecord> TextRecord::decode(const RecordView& r, bool wide)
{
    TextRecord out;
    std::uint32_t count, offString, offDx;
    if (!r.point(kText, out.reference) || !r.u32(kText + 8, count) || !r.u32(kText + 12, offString)
        || !r.u32(kText + 16, out.options) || !r.rect(kText + 20, out.rect) || !r.u32(kText + 36, offDx))
        return std::nullopt;
    if (!r.fits(offString, std::uint64_t(count) * (wide ? 2 : 1)))
        return std::nullopt;
    if (out.options & ETO_GLYPH_INDEX)
        return std::nullopt; // glyph numbers of a font we do not have
    const std::uint32_t dxPer = out.options & ETO_PDY ? 2 : 1;
    const bool hasDx = offDx != 0 && count > 0;
    if (hasDx && !r.fits(offDx, std::uint64_t(count) * 4 * dxPer))
        return std::nullopt;

    if (wide) // copied unit for unit (no byte-order mark dropped), so the advances stay in step
        out.text = QString(reinterpret_cast<const QChar*>(r.data() + offString), qsizetype(count));
    else
        out.text = QString::fromLatin1(reinterpret_cast<const char*>(r.data() + offString), qsizetype(count));
    if (hasDx) {
        out.advances.resize(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::int32_t dx = 0;
            r.i32(offDx + 4 * i * dxPer, dx);
            out.advances[i] = std::clamp<double>(dx, -kMaxAdvance, kMaxAdvance);
        }
    }
    return out;
}

} // namespace emfplay
