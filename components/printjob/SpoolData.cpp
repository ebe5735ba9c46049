#include "components/printjob/SpoolData.h"

#include <QtEndian>

namespace printjob {
namespace {

void appendU32(QByteArray& out, std::uint32_t value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void appendRecord(QByteArray& out, std::uint32_t type, const QByteArray& data)
{
    appendU32(out, type);
    appendU32(out, std::uint32_t(data.size()));
    out.append(data);
}

} // namespace

QByteArray SpoolOpening(const QString& documentName)
{
    // Opening record: header, offset of the document name, offset of the output name (none),
    // then the name in UTF-16 with its terminator.
    const QByteArray name(reinterpret_cast<const char*>(documentName.utf16()), (documentName.size() + 1) * 2);
    constexpr std::uint32_t nameOffset = 16;
    QByteArray data;
    appendU32(data, kSpoolVersion);
    appendU32(data, nameOffset + std::uint32_t(name.size()));
    appendU32(data, nameOffset);
    appendU32(data, 0);
    data.append(name);
    return data;
}

QByteArray SpoolPage(const QByteArray& metafile, quint64 at)
{
    QByteArray data;
    appendRecord(data, kPageRecord, metafile);
    char offset[8];
    qToLittleEndian(at, offset);
    appendRecord(data, kPageEndRecord, QByteArray(offset, 8));
    return data;
}

QByteArray MakeSpoolData(const QString& documentName, const QList<QByteArray>& pageMetafiles)
{
    QByteArray data = SpoolOpening(documentName);
    for (const QByteArray& page : pageMetafiles)
        data.append(SpoolPage(page, quint64(data.size())));
    return data;
}

} // namespace printjob
