#include "pdfprinter/converter/SpoolRecordWalk.h"

#include <QtEndian>

#include <algorithm>

namespace {

bool isPageRecord(std::uint32_t type) { return type == 1 || type == 12; }

} // namespace

CSpoolRecordWalk::CSpoolRecordWalk(ReadFn read, PageFn page)
    : m_read(std::move(read))
    , m_page(std::move(page))
    , m_staging(kChunkSize, Qt::Uninitialized)
{
}

std::uint32_t CSpoolRecordWalk::ReadFully(void* buffer, std::uint32_t size)
{
    auto* out = static_cast<char*>(buffer);
    std::uint32_t total = 0;
    while (total < size) {
        std::uint32_t read = 0;
        if (!m_read(out + total, size - total, &read) || read == 0)
            break;
        total += std::min(read, size - total);
    }
    return total;
}

bool CSpoolRecordWalk::Skip(std::uint32_t size)
{
    while (size > 0) {
        const std::uint32_t chunk = std::min(size, kChunkSize);
        if (ReadFully(m_staging.data(), chunk) != chunk)
            return false;
        size -= chunk;
    }
    return true;
}

bool CSpoolRecordWalk::ReadPage(std::uint32_t size, QByteArray* page)
{
    page->clear();
    page->reserve(std::min(size, kMaxReserve));
    while (std::uint32_t(page->size()) < size) {
        const std::uint32_t chunk = std::min(size - std::uint32_t(page->size()), kChunkSize);
        const std::uint32_t read = ReadFully(m_staging.data(), chunk);
        page->append(m_staging.constData(), read);
        if (read != chunk)
            return false;
    }
    return true;
}

CSpoolRecordWalk::End CSpoolRecordWalk::Run()
{
    for (bool opening = true;; opening = false) {
        unsigned char header[8] = {};
        const std::uint32_t got = ReadFully(header, sizeof header);
        if (got == 0)
            return End::NoMoreRecords;
        if (got != sizeof header)
            return End::BrokenRecord;
        ++m_records;
        const auto type = qFromLittleEndian<std::uint32_t>(header);
        const auto size = qFromLittleEndian<std::uint32_t>(header + 4);

        if (isPageRecord(type)) {
            ++m_pageRecords;
            if (size == 0)
                continue; // carries no page
            QByteArray page;
            if (!ReadPage(size, &page))
                return End::IncompletePage; // never handed on: its metafile would be cut
            if (!m_page(page))
                return End::StoppedByPage;
            continue;
        }

        // The opening record counts its own header; data records do not.
        const std::uint32_t skip = opening ? (size > 8 ? size - 8 : 0) : size;
        if (!Skip(skip))
            return End::BrokenRecord;
    }
}
