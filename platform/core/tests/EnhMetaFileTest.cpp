#include "platform/core/EnhMetaFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace platform;

namespace {

void put32(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// A header record followed by an end-of-file record: the smallest sound metafile.
std::vector<unsigned char> minimalMetafile()
{
    std::vector<unsigned char> bytes(88 + 20, 0);
    put32(bytes, 0, 1);
    put32(bytes, 4, 88);
    put32(bytes, 40, 0x464D4520);
    put32(bytes, 44, 0x10000);
    put32(bytes, 48, std::uint32_t(bytes.size()));
    put32(bytes, 52, 2);
    put32(bytes, 88, 14);
    put32(bytes, 92, 20);
    return bytes;
}

} // namespace

TEST(EnhMetaFile, RebuildsSoundDataAndKeepsItsOwnLength)
{
    std::vector<unsigned char> bytes = minimalMetafile();
    const std::size_t length = bytes.size();
    bytes.resize(length + 12, 0xAB); // trailing bytes beyond nBytes are not the metafile's
    HENHMETAFILE metafile = SetEnhMetaFileBits(unsigned(bytes.size()), bytes.data());
    ASSERT_NE(metafile, nullptr);
    EXPECT_EQ(metafile->bits().size(), qsizetype(length));
    EXPECT_EQ(std::memcmp(metafile->bits().constData(), bytes.data(), length), 0);

    std::vector<unsigned char> copy(length);
    EXPECT_EQ(GetEnhMetaFileBits(metafile, unsigned(copy.size()), copy.data()), length);
    EXPECT_EQ(std::memcmp(copy.data(), bytes.data(), length), 0);
    EXPECT_TRUE(DeleteEnhMetaFile(metafile));
    EXPECT_FALSE(DeleteEnhMetaFile(nullptr));
}

TEST(EnhMetaFile, RefusesBrokenHeaders)
{
    struct Case {
        const char* name;
        std::size_t offset;
        std::uint32_t value;
        std::size_t sizeGiven; // 0 = whole buffer
    };
    const Case cases[] = {
        {"wrong record type", 0, 2, 0},
        {"header shorter than 88", 4, 84, 0},
        {"header longer than the metafile", 4, 200, 0},
        {"wrong signature", 40, 0x464D4521, 0},
        {"nBytes beyond the data", 48, 109, 0},
        {"nBytes shorter than the header", 48, 40, 0},
        {"data shorter than a header", 48, 108, 87},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> bytes = minimalMetafile();
        put32(bytes, c.offset, c.value);
        const unsigned size = unsigned(c.sizeGiven ? c.sizeGiven : bytes.size());
        EXPECT_EQ(SetEnhMetaFileBits(size, bytes.data()), nullptr) << c.name;
    }
    EXPECT_EQ(SetEnhMetaFileBits(100, nullptr), nullptr);
}
