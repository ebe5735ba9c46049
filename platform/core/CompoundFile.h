#pragma once
// OLE compound files (structured storage) through libgsf: the word-processor's documents
// and templates are such files, and the template chooser reads their preview stream.
// Names are "Stream" or "Storage/Stream".
#include <QByteArray>
#include <QMap>
#include <QString>

namespace platform {

class CompoundFile {
public:
    static bool isCompound(const QByteArray& head);
    // Replaces the file only when the whole compound file was made.
    static bool write(const QString& path, const QMap<QString, QByteArray>& streams);
    // Every stream of the top level and of its storages.
    static bool read(const QString& path, QMap<QString, QByteArray>& streams);
    // One stream of the top level; false when the file is not a compound file or lacks it.
    static bool readStream(const QString& path, const QString& name, QByteArray& data);
};

} // namespace platform
