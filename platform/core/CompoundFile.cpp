#include "platform/core/CompoundFile.h"

#include <QFile>
#include <QSaveFile>

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

namespace platform {

namespace {

const char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

bool writeStream(GsfOutfile* parent, const QString& name, const QByteArray& data)
{
    GsfOutput* stream = gsf_outfile_new_child(parent, name.toUtf8().constData(), FALSE);
    if (!stream)
        return false;
    const bool ok = gsf_output_write(stream, size_t(data.size()), reinterpret_cast<const guint8*>(data.constData()));
    gsf_output_close(stream);
    g_object_unref(stream);
    return ok;
}

QByteArray readAll(GsfInput* input)
{
    const gsf_off_t size = gsf_input_size(input);
    if (size <= 0 || size > (gsf_off_t(1) << 30))
        return QByteArray();
    QByteArray data(qsizetype(size), Qt::Uninitialized);
    if (!gsf_input_read(input, size_t(size), reinterpret_cast<guint8*>(data.data())))
        return QByteArray();
    return data;
}

void readChildren(GsfInfile* storage, const QString& prefix, int depth, QMap<QString, QByteArray>& streams)
{
    const int count = gsf_infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        GsfInput* child = gsf_infile_child_by_index(storage, i);
        if (!child)
            continue;
        const QString name = prefix + QString::fromUtf8(gsf_input_name(child));
        if (GSF_IS_INFILE(child) && gsf_infile_num_children(GSF_INFILE(child)) >= 0) {
            if (depth == 0)
                readChildren(GSF_INFILE(child), name + '/', depth + 1, streams);
        } else {
            streams.insert(name, readAll(child));
        }
        g_object_unref(child);
    }
}

} // namespace

bool CompoundFile::isCompound(const QByteArray& head)
{
    return head.startsWith(QByteArray(kSignature, 8));
}

bool CompoundFile::write(const QString& path, const QMap<QString, QByteArray>& streams)
{
    GsfOutput* memory = gsf_output_memory_new();
    GsfOutfile* ole = gsf_outfile_msole_new(memory);
    bool ok = ole != nullptr;
    QMap<QString, GsfOutfile*> storages;
    for (auto it = streams.cbegin(); ok && it != streams.cend(); ++it) {
        const qsizetype slash = it.key().indexOf('/');
        if (slash < 0) {
            ok = writeStream(ole, it.key(), it.value());
            continue;
        }
        const QString storageName = it.key().left(slash);
        GsfOutfile*& storage = storages[storageName];
        if (!storage)
            storage = GSF_OUTFILE(gsf_outfile_new_child(ole, storageName.toUtf8().constData(), TRUE));
        ok = storage && writeStream(storage, it.key().mid(slash + 1), it.value());
    }
    for (GsfOutfile* storage : storages) {
        if (storage) {
            gsf_output_close(GSF_OUTPUT(storage));
            g_object_unref(storage);
        }
    }
    if (ole) {
        ok = gsf_output_close(GSF_OUTPUT(ole)) && ok;
        g_object_unref(ole);
    }
    QByteArray bytes;
    if (ok) {
        const gsf_off_t size = gsf_output_size(memory);
        bytes = QByteArray(reinterpret_cast<const char*>(gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory))),
                           qsizetype(size));
    }
    if (!gsf_output_is_closed(memory)) // closing the compound file closes its sink too
        gsf_output_close(memory);
    g_object_unref(memory);
    if (!ok || bytes.isEmpty())
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

namespace {

// Opens the compound file of `path` and hands its top storage to `visit`.
template <typename Visit>
bool withCompoundFile(const QString& path, Visit visit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (!CompoundFile::isCompound(bytes))
        return false;
    GsfInput* input = gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.constData()), bytes.size(), FALSE);
    GError* error = nullptr;
    GsfInfile* ole = gsf_infile_msole_new(input, &error);
    if (error)
        g_error_free(error);
    if (!ole) {
        g_object_unref(input);
        return false;
    }
    const bool ok = visit(ole);
    g_object_unref(ole);
    g_object_unref(input);
    return ok;
}

} // namespace

bool CompoundFile::read(const QString& path, QMap<QString, QByteArray>& streams)
{
    return withCompoundFile(path, [&](GsfInfile* ole) {
        streams.clear();
        readChildren(ole, QString(), 0, streams);
        return true;
    });
}

bool CompoundFile::readStream(const QString& path, const QString& name, QByteArray& data)
{
    return withCompoundFile(path, [&](GsfInfile* ole) {
        GsfInput* stream = gsf_infile_child_by_name(ole, name.toUtf8().constData());
        if (!stream)
            return false;
        const bool isStream = !GSF_IS_INFILE(stream) || gsf_infile_num_children(GSF_INFILE(stream)) < 0;
        if (isStream)
            data = readAll(stream);
        g_object_unref(stream);
        return isStream;
    });
}

} // namespace platform
