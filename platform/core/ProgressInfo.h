#pragma once
// The progress notification the transcoder sends to the converter's window, and the
// record that goes with it. Laid out byte for byte as the two programs exchange it
// (the converter forwards it unchanged to its starter).
#include <bit>
#include <cstddef>
#include <cstdint>

constexpr unsigned WM_CONVERT_PROGRESS = 0x8001; // WM_APP + 1

// First parameter of WM_CONVERT_PROGRESS.
enum ProgressKind : unsigned {
    PROGRESS_BEGIN = 0,
    PROGRESS_PAGE = 1,
    PROGRESS_PERCENT = 2,
    PROGRESS_SAVING = 3,
    PROGRESS_DONE = 4,
    PROGRESS_ABORT = 5,
};

// Second parameter: address of this record, or null for kinds that carry none.
struct _tagPROGRESS_INFO {
    std::uint32_t nTotalPages;   // pages announced so far (the transcoder does not know the end)
    std::uint32_t nCurrentPage;  // page being made, 1-based
    std::uint32_t nDrawnRecords;   // EMF records drawn on the current page
    std::uint32_t nSkippedRecords; // records skipped as unknown or malformed on the current page
    std::uint32_t nPercent;      // 0 to 100
};

static_assert(std::endian::native == std::endian::little, "records are exchanged little-endian");
static_assert(sizeof(_tagPROGRESS_INFO) == 20);
static_assert(offsetof(_tagPROGRESS_INFO, nTotalPages) == 0);
static_assert(offsetof(_tagPROGRESS_INFO, nCurrentPage) == 4);
static_assert(offsetof(_tagPROGRESS_INFO, nDrawnRecords) == 8);
static_assert(offsetof(_tagPROGRESS_INFO, nSkippedRecords) == 12);
static_assert(offsetof(_tagPROGRESS_INFO, nPercent) == 16);
