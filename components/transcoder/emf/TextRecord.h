#pragma once
// EXTTEXTOUTW and EXTTEXTOUTA as data: the string, where it goes, and the advances.
// Decoding checks the string and the advances against the record.
#include "components/transcoder/emf/RecordView.h"

#include <QString>

#include <optional>
#include <vector>

namespace emfplay {

struct TextRecord {
    static constexpr std::uint32_t ETO_OPAQUE = 2;
    static constexpr std::uint32_t ETO_CLIPPED = 4;

    QPointF reference;            // logical
    std::uint32_t options = 0;
    QRectF rect;                  // opaque or clipping rectangle, logical
    QString text;                 // one unit per advance
    std::vector<double> advances; // empty: the font's own

    // Null when the record does not hold together, or names glyph numbers rather than text.
    static std::optional<TextRecord> decode(const RecordView& record, bool wide);
};

} // namespace emfplay
