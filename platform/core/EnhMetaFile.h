#pragma once
// Enhanced metafiles as the converter hands them to the transcoder: a checked copy of
// the EMF bytes behind a handle. Rebuilding fails unless the data starts with a sound
// EMF header, so nothing downstream sees a buffer that is not a metafile.
#include <QByteArray>

#include <cstdint>

namespace platform {

class EnhMetaFile {
public:
    static constexpr std::uint32_t kHeaderType = 1;          // EMR_HEADER
    static constexpr std::uint32_t kMinHeaderSize = 88;
    static constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"

    // The metafile's bytes, exactly nBytes of the header long.
    const QByteArray& bits() const { return m_bits; }

    // Null unless `data` holds a valid header whose nBytes fits within `size`.
    static EnhMetaFile* fromBits(const void* data, std::size_t size);

private:
    explicit EnhMetaFile(QByteArray bits) : m_bits(std::move(bits)) {}
    QByteArray m_bits;
};

using HENHMETAFILE = EnhMetaFile*;

// Win32 shapes: the handle (or null on bad data), and true when a handle was freed.
HENHMETAFILE SetEnhMetaFileBits(unsigned size, const unsigned char* data);
bool DeleteEnhMetaFile(HENHMETAFILE metafile);
// Copies up to `size` bytes into `buffer` (when given); returns the metafile's length.
unsigned GetEnhMetaFileBits(HENHMETAFILE metafile, unsigned size, unsigned char* buffer);

} // namespace platform
