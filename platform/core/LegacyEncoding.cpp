#include "platform/core/LegacyEncoding.h"

#include <QStringDecoder>

#include <cerrno>
#include <iconv.h>

namespace platform {

bool IsValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(bytes); // decoding happens on conversion only
    return !decoder.hasError();
}

bool ConvertToUtf8(const QByteArray& bytes, const char* encoding, QByteArray& out)
{
    out.clear();
    iconv_t converter = iconv_open("UTF-8", encoding);
    if (converter == iconv_t(-1))
        return false;
    // UTF-8 takes at most three bytes for a character of the BMP, which is all these hold.
    QByteArray buffer(bytes.size() * 3 + 4, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char* write = buffer.data();
    size_t outLeft = size_t(buffer.size());
    const bool ok = iconv(converter, &in, &inLeft, &write, &outLeft) != size_t(-1) && inLeft == 0
        && iconv(converter, nullptr, nullptr, &write, &outLeft) != size_t(-1);
    iconv_close(converter);
    if (!ok)
        return false;
    buffer.truncate(write - buffer.data());
    out = buffer;
    return true;
}

} // namespace platform
