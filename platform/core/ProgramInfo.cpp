#include "platform/core/ProgramInfo.h"

#include <cstdio>
#include <cstring>

namespace platform {

const char* KitVersion() { return KVX_KIT_VERSION; }

bool AnswerInfoRequest(int argc, char** argv, const char* program, const char* help)
{
    if (argc < 2)
        return false;
    const char* first = argv[1];
    if (std::strcmp(first, "--version") == 0) {
        std::printf("%s %s\n", program, KitVersion());
        return true;
    }
    if (std::strcmp(first, "--help") == 0 || std::strcmp(first, "-h") == 0) {
        std::fputs(help, stdout);
        return true;
    }
    return false;
}

} // namespace platform
