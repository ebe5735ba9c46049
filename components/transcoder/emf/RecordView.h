#pragma once
// Bounded little-endian reads from one record. Every read says whether it fitted, so a
// record whose fields run past its own size is refused instead of read beyond it.
#include <QPoint>
#include <QRect>
#include <QtEndian>

#include <cstdint>
#include <cstring>

namespace emfplay {

class RecordView {
public:
    RecordView() = default;
    RecordView(const unsigned char* data, std::uint32_t size) : m_data(data), m_size(size) {}

    std::uint32_t size() const { return m_size; }
    const unsigned char* data() const { return m_data; }
    std::uint32_t type() const { return m_size >= 4 ? qFromLittleEndian<quint32>(m_data) : 0; }

    // True when [offset, offset + length) lies within the record.
    bool fits(std::uint64_t offset, std::uint64_t length) const
    {
        return offset <= m_size && length <= m_size - offset;
    }

    bool u32(std::uint32_t offset, std::uint32_t& out) const
    {
        if (!fits(offset, 4))
            return false;
        out = qFromLittleEndian<quint32>(m_data + offset);
        return true;
    }
    bool i32(std::uint32_t offset, std::int32_t& out) const
    {
        std::uint32_t v;
        if (!u32(offset, v))
            return false;
        out = std::int32_t(v);
        return true;
    }
    bool i16(std::uint32_t offset, std::int16_t& out) const
    {
        if (!fits(offset, 2))
            return false;
        out = qFromLittleEndian<qint16>(m_data + offset);
        return true;
    }
    bool f32(std::uint32_t offset, float& out) const
    {
        std::uint32_t v;
        if (!u32(offset, v))
            return false;
        std::memcpy(&out, &v, 4);
        return true;
    }
    bool point(std::uint32_t offset, QPointF& out) const
    {
        std::int32_t x, y;
        if (!i32(offset, x) || !i32(offset + 4, y))
            return false;
        out = QPointF(x, y);
        return true;
    }
    // A RECTL as its four edges (left, top, right, bottom), unnormalised.
    bool rect(std::uint32_t offset, QRectF& out) const
    {
        std::int32_t l, t, r, b;
        if (!i32(offset, l) || !i32(offset + 4, t) || !i32(offset + 8, r) || !i32(offset + 12, b))
            return false;
        out = QRectF(QPointF(l, t), QPointF(r, b));
        return true;
    }

private:
    const unsigned char* m_data = nullptr;
    std::uint32_t m_size = 0;
};

} // namespace emfplay
