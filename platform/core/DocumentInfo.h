#pragma once
// What the converter tells the transcoder about the document it is about to write.
// Laid out byte for byte as the converter builds it; every byte not named is zero.
#include <bit>
#include <cstddef>
#include <cstdint>

struct _tagDOCUMENT_INFO {
    char16_t szOutputPath[1024];   // full path of the PDF, NUL-terminated
    char16_t szDocumentName[260];  // the print job's document name: the PDF's title
    char16_t szUserName[260];      // who printed: the PDF's author
    std::uint8_t reserved[2096];
    std::uint32_t dwOptions[6];    // passed through from the starter
};

static_assert(std::endian::native == std::endian::little, "records are exchanged little-endian");
static_assert(sizeof(_tagDOCUMENT_INFO) == 5208);
static_assert(offsetof(_tagDOCUMENT_INFO, szOutputPath) == 0);
static_assert(offsetof(_tagDOCUMENT_INFO, szDocumentName) == 2048);
static_assert(offsetof(_tagDOCUMENT_INFO, szUserName) == 2568);
static_assert(offsetof(_tagDOCUMENT_INFO, reserved) == 3088);
static_assert(offsetof(_tagDOCUMENT_INFO, dwOptions) == 5184);
