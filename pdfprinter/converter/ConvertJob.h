#pragma once
// The job hand-off block the starter leaves in named shared memory: 3124 bytes,
// little-endian, UTF-16 strings NUL-terminated within their fields.
#include <QString>

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little, "the block is read in place");

// The named objects of the hand-off; the starter creates both.
inline QString ConvertJobSharedMemoryName()
{
    return QStringLiteral("Global\\SHMEM{9B63F701-A616-4994-A99A-EB38719733A1}");
}
inline QString ConvertJobEventName()
{
    return QStringLiteral("Global\\EVENT{9B63F701-A616-4994-A99A-EB38719733A1}");
}

struct _tagCONVERT_JOB {
    char16_t szPrinterName[260];   // opens the job and the printer
    std::uint32_t dwJobId;         // the spooler job to convert and to delete
    std::uint32_t hNotifyWnd;      // silent mode: receives every progress notification; 0 = none
    char16_t szOutputPath[1024];   // full path of the PDF
    char16_t szDocumentName[260];  // the job's document name
    std::uint32_t dwPageOption;    // third argument of every TranscodePage call
    std::uint32_t dwDocOptions[6]; // the last 24 bytes of the transcoder's document record
};

static_assert(sizeof(_tagCONVERT_JOB) == 3124);
static_assert(offsetof(_tagCONVERT_JOB, szPrinterName) == 0);
static_assert(offsetof(_tagCONVERT_JOB, dwJobId) == 520);
static_assert(offsetof(_tagCONVERT_JOB, hNotifyWnd) == 524);
static_assert(offsetof(_tagCONVERT_JOB, szOutputPath) == 528);
static_assert(offsetof(_tagCONVERT_JOB, szDocumentName) == 2576);
static_assert(offsetof(_tagCONVERT_JOB, dwPageOption) == 3096);
static_assert(offsetof(_tagCONVERT_JOB, dwDocOptions) == 3100);

// A field's text up to its first NUL, or the whole field when the writer left none.
template <std::size_t N>
QString JobText(const char16_t (&field)[N])
{
    std::size_t length = 0;
    while (length < N && field[length] != 0)
        ++length;
    return QString::fromUtf16(field, static_cast<qsizetype>(length));
}

// Copies text into a field, cut to leave room for the terminator; the rest is zeroed.
template <std::size_t N>
void SetJobText(char16_t (&field)[N], const QString& text)
{
    const std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(text.size()), N - 1);
    for (std::size_t i = 0; i < N; ++i)
        field[i] = i < length ? static_cast<char16_t>(text.at(static_cast<qsizetype>(i)).unicode()) : u'\0';
}
