#pragma once
// An error the internet client raised: its own code (non-zero) and a readable text.
#include <QString>

namespace platform {

struct InternetError {
    int code = 0; // 0: no error
    QString message;

    bool isSet() const { return code != 0; }
};

} // namespace platform
