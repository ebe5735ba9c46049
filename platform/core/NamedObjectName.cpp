#include "platform/core/NamedObjectName.h"

#include <QtGlobal>

namespace platform {
namespace {

// NAME_MAX less the "sem." prefix glibc puts in front of semaphore names.
constexpr qsizetype kMaxPosixNameLength = 251;

void appendEscaped(QByteArray& out, const QString& text)
{
    static const char hex[] = "0123456789ABCDEF";
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        const bool keep = byte > 0x20 && byte < 0x7F && byte != '/' && byte != '\\' && byte != '%';
        if (keep) {
            out.append(c);
        } else {
            out.append('%');
            out.append(hex[byte >> 4]);
            out.append(hex[byte & 0x0F]);
        }
    }
}

} // namespace

QByteArray PosixObjectName(const QString& windowsName)
{
    QByteArray name("/");
    appendEscaped(name, qEnvironmentVariable("KVX_OBJECT_NAMESPACE"));
    appendEscaped(name, windowsName);
    if (name.size() > kMaxPosixNameLength)
        return {};
    return name;
}

} // namespace platform
