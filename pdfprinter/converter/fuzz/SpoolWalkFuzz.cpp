// libFuzzer target over the walk through a job's spooled records and the page rebuild that
// follows it: any bytes, handed out in pieces of any size, must end the walk without a
// crash, a hang or a read past the data. Build and run: see the README's converter section.
#include "pdfprinter/converter/SpoolRecordWalk.h"
#include "platform/core/EnhMetaFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks how many bytes each read hands out (1..256, 0 = all asked for),
    // as spoolers return short reads.
    const std::uint32_t step = data[0] == 0 ? 0xFFFFFFFFu : data[0];
    const std::uint8_t* stream = data + 1;
    const std::size_t length = size - 1;
    std::size_t offset = 0;
    int pages = 0;

    CSpoolRecordWalk walk(
        [&](void* buffer, std::uint32_t wanted, std::uint32_t* read) {
            const std::size_t n = std::min<std::size_t>({wanted, step, length - offset});
            std::memcpy(buffer, stream + offset, n);
            offset += n;
            *read = std::uint32_t(n);
            return true;
        },
        [&](const QByteArray& page) {
            platform::HENHMETAFILE metafile = platform::SetEnhMetaFileBits(
                unsigned(page.size()), reinterpret_cast<const unsigned char*>(page.constData()));
            if (metafile) {
                ++pages;
                platform::GetEnhMetaFileBits(metafile, 0, nullptr);
                platform::DeleteEnhMetaFile(metafile);
            }
            return true;
        });
    walk.Run();
    // Every record consumes its 8-byte header, so the walk cannot outlast the data.
    if (walk.RecordCount() > int(length / 8) + 1 || offset > length)
        __builtin_trap();
    return 0;
}
