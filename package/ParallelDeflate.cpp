#include "package/ParallelDeflate.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include <zip.h>
#include <zlib.h>

namespace ParallelDeflate {

namespace {

Deflated deflateFile(const QString& path, int level)
{
    Deflated result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestFile)
        return result;
    const QByteArray input = file.readAll();
    if (input.size() != file.size())
        return result;
    z_stream stream{};
    // Negative window bits: raw deflate without a zlib header, as ZIP members hold it.
    if (deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return result;
    result.compressed.resize(qsizetype(deflateBound(&stream, uLong(input.size()))));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.constData()));
    stream.avail_in = uInt(input.size());
    stream.next_out = reinterpret_cast<Bytef*>(result.compressed.data());
    stream.avail_out = uInt(result.compressed.size());
    const int status = deflate(&stream, Z_FINISH);
    result.compressed.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    if (status != Z_STREAM_END)
        return {};
    result.crc = quint32(crc32(0L, reinterpret_cast<const Bytef*>(input.constData()), uInt(input.size())));
    result.size = quint64(input.size());
    result.modified = QFileInfo(path).lastModified().toSecsSinceEpoch();
    result.ok = true;
    return result;
}

struct SourceState {
    Deflated deflated;
    zip_uint64_t offset = 0;
    zip_error_t error;
};

zip_int64_t readSource(void* userdata, void* data, zip_uint64_t length, zip_source_cmd_t command)
{
    auto* state = static_cast<SourceState*>(userdata);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        state->offset = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const auto available = zip_uint64_t(state->deflated.compressed.size()) - state->offset;
        const zip_uint64_t count = std::min(length, available);
        std::memcpy(data, state->deflated.compressed.constData() + state->offset, size_t(count));
        state->offset += count;
        return zip_int64_t(count);
    }
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_STAT: {
        auto* stat = static_cast<zip_stat_t*>(data);
        zip_stat_init(stat);
        stat->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC | ZIP_STAT_MTIME;
        stat->size = state->deflated.size;
        stat->comp_size = zip_uint64_t(state->deflated.compressed.size());
        stat->comp_method = ZIP_CM_DEFLATE;
        stat->crc = state->deflated.crc;
        stat->mtime = time_t(state->deflated.modified);
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&state->error, data, length);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&state->error);
        delete state;
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
        zip_error_set(&state->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

} // namespace

QList<Deflated> DeflateFiles(const QStringList& paths, int level)
{
    std::vector<Deflated> results(size_t(paths.size()));
    std::atomic<qsizetype> next{0};
    auto work = [&] {
        for (qsizetype i = next++; i < paths.size(); i = next++)
            results[size_t(i)] = deflateFile(paths[i], level);
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < cores && qsizetype(i) < paths.size(); ++i)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
    return QList<Deflated>(std::make_move_iterator(results.begin()), std::make_move_iterator(results.end()));
}

zip_source* MakeSource(zip* archive, Deflated&& deflated)
{
    auto* state = new SourceState{std::move(deflated), 0, {}};
    zip_error_init(&state->error);
    zip_source_t* source = zip_source_function(archive, readSource, state);
    if (!source) {
        zip_error_fini(&state->error);
        delete state;
    }
    return source;
}

} // namespace ParallelDeflate
