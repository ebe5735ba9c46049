#include "components/transcoder/emf/EmfReader.h"

#include "components/transcoder/emf/RecordTypes.h"

#include <algorithm>
#include <cmath>

namespace emfplay {
namespace {

constexpr std::uint32_t kSignature = 0x464D4520;
constexpr std::uint32_t kMinHeader = 88;
constexpr std::uint32_t kHeaderWithMicrometres = 108;
// Reference devices outside this range are not screens or printers; fall back to 96 dpi.
constexpr double kMinDpi = 1.0;
constexpr double kMaxDpi = 100000.0;
// PDF pages range from 1 mm to 200 inches.
constexpr double kMinPageMm = 1.0;
constexpr double kMaxPageMm = 5080.0;

double clampPage(double mm) { return std::clamp(mm, kMinPageMm, kMaxPageMm); }

} // namespace

QSizeF EmfHeader::pageMillimetres() const
{
    // The frame is inclusive, in 0.01 mm.
    double w = (frame.width() + 1) / 100.0;
    double h = (frame.height() + 1) / 100.0;
    if (!(w > 0 && h > 0)) {
        // No usable frame: the bounds in device pixels say how large the picture is.
        w = (bounds.width() + 1) * hundredthsPerPixelX() / 100.0;
        h = (bounds.height() + 1) * hundredthsPerPixelY() / 100.0;
    }
    if (!(w > 0 && h > 0))
        return QSizeF(210, 297);
    return QSizeF(clampPage(w), clampPage(h));
}

bool EmfReader::open(const unsigned char* data, std::size_t size)
{
    m_data = data;
    m_size = size;
    m_offset = 0;
    m_broken = false;
    m_ended = false;
    m_header = EmfHeader();
    if (!data || size < kMinHeader)
        return false;
    const RecordView head(data, std::uint32_t(std::min<std::size_t>(size, kHeaderWithMicrometres)));
    std::uint32_t type = 0, headerSize = 0, signature = 0, bytes = 0, records = 0, handlesWord = 0;
    head.u32(0, type);
    head.u32(4, headerSize);
    head.u32(40, signature);
    head.u32(48, bytes);
    head.u32(52, records);
    head.u32(56, handlesWord);
    if (type != EMR_HEADER || signature != kSignature || headerSize < kMinHeader || headerSize % 4 != 0
        || headerSize > size)
        return false;
    // The data may be longer than the metafile, never shorter.
    if (bytes >= headerSize && bytes < size)
        m_size = bytes;

    head.rect(8, m_header.bounds);
    head.rect(24, m_header.frame);
    m_header.bytes = bytes;
    m_header.records = records;
    m_header.handles = handlesWord & 0xFFFF;

    std::int32_t dw = 0, dh = 0, mw = 0, mh = 0;
    head.i32(72, dw);
    head.i32(76, dh);
    head.i32(80, mw);
    head.i32(84, mh);
    QSizeF millimetres(mw, mh);
    std::int32_t uw = 0, uh = 0;
    if (headerSize >= kHeaderWithMicrometres && head.i32(100, uw) && head.i32(104, uh) && uw > 0 && uh > 0)
        millimetres = QSizeF(uw / 1000.0, uh / 1000.0);
    const double dpiX = dw > 0 && millimetres.width() > 0 ? dw * 25.4 / millimetres.width() : 0;
    const double dpiY = dh > 0 && millimetres.height() > 0 ? dh * 25.4 / millimetres.height() : 0;
    if (dpiX < kMinDpi || dpiX > kMaxDpi || dpiY < kMinDpi || dpiY > kMaxDpi) {
        m_header.devicePixels = QSizeF(96, 96);
        m_header.deviceMillimetres = QSizeF(25.4, 25.4);
    } else {
        m_header.devicePixels = QSizeF(dw, dh);
        m_header.deviceMillimetres = millimetres;
    }
    m_offset = headerSize;
    return true;
}

bool EmfReader::next(RecordView& record)
{
    if (m_ended || m_broken || m_offset >= m_size)
        return false;
    const std::size_t left = m_size - m_offset;
    if (left < 8) {
        m_broken = true;
        return false;
    }
    const RecordView head(m_data + m_offset, 8);
    std::uint32_t type = 0, size = 0;
    head.u32(0, type);
    head.u32(4, size);
    if (size < 8 || size % 4 != 0 || size > left) {
        m_broken = true;
        return false;
    }
    record = RecordView(m_data + m_offset, size);
    m_offset += size;
    if (type == EMR_EOF)
        m_ended = true;
    return true;
}

} // namespace emfplay
