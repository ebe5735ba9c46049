#include "editor/Profile.h"

namespace {
const char* const kProfileKey = "Corvel_Vendara Quorra";
const char* const kAppName = "lindar";
constexpr int kDefaultLook = 214;
} // namespace

std::unique_ptr<QSettings> CProfile::Open()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QString::fromUtf8(kProfileKey), QString::fromUtf8(kAppName));
}

int CProfile::ReadLook()
{
    bool ok = false;
    const int look = Open()->value(QStringLiteral("ApplicationLook"), kDefaultLook).toInt(&ok);
    return ok ? look : kDefaultLook;
}

void CProfile::WriteLook(int look) { Open()->setValue(QStringLiteral("ApplicationLook"), look); }
