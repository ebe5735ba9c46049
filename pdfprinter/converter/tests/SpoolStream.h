#pragma once
// Builds job data in the EMF spool format for tests: an opening record that counts its
// own header, then data records whose size counts only their data.
#include <QByteArray>
#include <QtEndian>

#include <cstdint>

class SpoolStream {
public:
    static constexpr std::uint32_t kVersion = 0x00010000;

    SpoolStream& opening(const QByteArray& data = QByteArray(8, '\0'))
    {
        return raw(kVersion, std::uint32_t(8 + data.size()), data);
    }
    SpoolStream& record(std::uint32_t type, const QByteArray& data) { return raw(type, std::uint32_t(data.size()), data); }
    // A record whose declared size need not match the data that follows.
    SpoolStream& raw(std::uint32_t type, std::uint32_t size, const QByteArray& data)
    {
        char header[8];
        qToLittleEndian(type, header);
        qToLittleEndian(size, header + 4);
        m_bytes.append(header, 8).append(data);
        return *this;
    }
    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
