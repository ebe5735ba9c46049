// libFuzzer target over the update server's texts: the version answer
// ("version&download address&date&notes" after a byte-order mark) and the readiness answer
// ("SCM_READY_OK&address"), in the encodings the two services read them in. Any body, up to
// the request's buffer, must decode and split without a crash, within the buffer's length,
// into fields that are neither empty nor hold the separator. Build and run: see the README.
#include "online/UpdateServerRequest.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > std::size_t(kServerTextBufferSize))
        return 0; // the request never reads more
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const ServerTextEncoding encoding : {ServerTextEncoding::Utf8, ServerTextEncoding::Local8Bit}) {
        const QString text = DecodeServerText(body, encoding);
        if (text.size() > kServerTextBufferSize)
            __builtin_trap();
        const QStringList fields = SplitServerFields(text);
        qsizetype characters = 0;
        for (const QString& field : fields) {
            if (field.isEmpty() || field.contains(QLatin1Char('&')))
                __builtin_trap();
            characters += field.size();
        }
        if (characters > text.size())
            __builtin_trap();
    }
    return 0;
}
