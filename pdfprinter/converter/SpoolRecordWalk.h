#pragma once
// Walks a job's spooled data: the records of the EMF spool format, read through a
// ReadPrinter-style function, handing every complete page metafile to a callback.
//
// Each record starts with its type and size (u32 each). The opening record's size counts its
// own 8 header bytes; every other record's size counts only the data after the header.
// Page records (types 1 and 12) carry one enhanced metafile.
#include <QByteArray>

#include <cstdint>
#include <functional>

class CSpoolRecordWalk {
public:
    // Like ReadPrinter: fills up to size bytes, tells how many arrived; false on failure.
    using ReadFn = std::function<bool(void* buffer, std::uint32_t size, std::uint32_t* read)>;
    // Gets one page's metafile bytes; returns false to stop the walk.
    using PageFn = std::function<bool(const QByteArray& metafile)>;

    static constexpr std::uint32_t kChunkSize = 65536;
    // A page buffer is reserved up to this size at once and grows as data arrives beyond it,
    // so a declared size that the job does not hold costs no memory.
    static constexpr std::uint32_t kMaxReserve = 64u * 1024u * 1024u;

    enum class End { NoMoreRecords, BrokenRecord, IncompletePage, StoppedByPage };

    CSpoolRecordWalk(ReadFn read, PageFn page);

    End Run();

    int RecordCount() const { return m_records; }
    int PageRecordCount() const { return m_pageRecords; }

private:
    // Reads exactly size bytes into buffer unless a read fails or returns nothing.
    std::uint32_t ReadFully(void* buffer, std::uint32_t size);
    bool Skip(std::uint32_t size);
    bool ReadPage(std::uint32_t size, QByteArray* page);

    ReadFn m_read;
    PageFn m_page;
    QByteArray m_staging;
    int m_records = 0;
    int m_pageRecords = 0;
};
