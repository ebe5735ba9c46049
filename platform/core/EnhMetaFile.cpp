#include "platform/core/EnhMetaFile.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

std::uint32_t readU32(const unsigned char* at)
{
    return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16
        | std::uint32_t(at[3]) << 24;
}

constexpr std::size_t kSignatureOffset = 40;
constexpr std::size_t kBytesOffset = 48;

} // namespace

EnhMetaFile* EnhMetaFile::fromBits(const void* data, std::size_t size)
{
    if (!data || size < kMinHeaderSize)
        return nullptr;
    const auto* bytes = static_cast<const unsigned char*>(data);
    const std::uint32_t type = readU32(bytes);
    const std::uint32_t headerSize = readU32(bytes + 4);
    const std::uint32_t signature = readU32(bytes + kSignatureOffset);
    const std::uint32_t totalSize = readU32(bytes + kBytesOffset);
    if (type != kHeaderType || signature != kSignature)
        return nullptr;
    if (headerSize < kMinHeaderSize || headerSize > totalSize || totalSize > size)
        return nullptr;
    return new EnhMetaFile(QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(totalSize)));
}

HENHMETAFILE SetEnhMetaFileBits(unsigned size, const unsigned char* data)
{
    return EnhMetaFile::fromBits(data, size);
}

bool DeleteEnhMetaFile(HENHMETAFILE metafile)
{
    if (!metafile)
        return false;
    delete metafile;
    return true;
}

unsigned GetEnhMetaFileBits(HENHMETAFILE metafile, unsigned size, unsigned char* buffer)
{
    if (!metafile)
        return 0;
    const QByteArray& bits = metafile->bits();
    if (buffer)
        std::memcpy(buffer, bits.constData(), std::min<std::size_t>(size, std::size_t(bits.size())));
    return unsigned(bits.size());
}

} // namespace platform
