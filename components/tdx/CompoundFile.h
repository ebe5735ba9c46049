#pragma once
// OLE compound files (structured storage) through libgsf: the document format and the
// templates are streams in one such file. Names are "Stream" or "Storage/Stream".
#include <QByteArray>
#include <QMap>
#include <QString>

namespace tdx {

class CompoundFile {
public:
    static bool isCompound(const QByteArray& head);
    // Replaces the file only when the whole compound file was made.
    static bool write(const QString& path, const QMap<QString, QByteArray>& streams);
    // Every stream of the top level and of its storages.
    static bool read(const QString& path, QMap<QString, QByteArray>& streams);
};

} // namespace tdx
