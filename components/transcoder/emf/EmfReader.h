#pragma once
// Reads an enhanced metafile from memory: its header, then one record at a time. A record
// whose size is not a multiple of 4, shorter than 8 bytes, or runs past the data ends the
// walk, since nothing after it can be found safely.
#include "components/transcoder/emf/RecordView.h"

#include <QRectF>
#include <QSizeF>

#include <cstddef>
#include <cstdint>

namespace emfplay {

struct EmfHeader {
    QRectF bounds;         // inclusive device-pixel bounds of the picture
    QRectF frame;          // inclusive frame in 0.01 mm
    std::uint32_t bytes = 0;
    std::uint32_t records = 0;
    std::uint32_t handles = 0;
    QSizeF devicePixels;   // the reference device, in pixels
    QSizeF deviceMillimetres;

    // 0.01 mm per reference-device pixel.
    double hundredthsPerPixelX() const { return deviceMillimetres.width() * 100.0 / devicePixels.width(); }
    double hundredthsPerPixelY() const { return deviceMillimetres.height() * 100.0 / devicePixels.height(); }
    // The page the picture asks for, in millimetres.
    QSizeF pageMillimetres() const;
};

class EmfReader {
public:
    // False when the data does not start with a usable EMF header.
    bool open(const unsigned char* data, std::size_t size);
    const EmfHeader& header() const { return m_header; }

    // The next record after the header; false at the end record, at the end of the data,
    // or at a record whose size cannot be trusted (then `broken()` is true).
    bool next(RecordView& record);
    bool broken() const { return m_broken; }

private:
    const unsigned char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_offset = 0;
    bool m_broken = false;
    bool m_ended = false;
    EmfHeader m_header;
};

} // namespace emfplay
