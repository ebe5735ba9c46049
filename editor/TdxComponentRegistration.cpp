#include "editor/TdxComponentRegistration.h"

#include "platform/core/Registry.h"

using platform::Registry;
using platform::RegistryHive;

namespace {
const QString kUninstall = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
} // namespace

QString CTdxComponentRegistration::PrimaryKey() { return kUninstall + QStringLiteral("Corvel Tdx2007"); }

QString CTdxComponentRegistration::AlternateKey()
{
    return kUninstall + QStringLiteral("{6E2B8C14-3F7A-4D59-A1C0-7D2007000001}");
}

bool CTdxComponentRegistration::IsInstalled()
{
    return Registry::keyExists(RegistryHive::LocalMachine, PrimaryKey())
        || Registry::keyExists(RegistryHive::LocalMachine, AlternateKey());
}

bool CTdxComponentRegistration::Register(const QString& installFolder)
{
    const QString key = PrimaryKey();
    return Registry::writeText(RegistryHive::LocalMachine, key, QStringLiteral("DisplayName"),
                               QStringLiteral("Corvel Tdx2007"))
        && Registry::writeText(RegistryHive::LocalMachine, key, QStringLiteral("DisplayVersion"),
                               QStringLiteral("7.0"))
        && Registry::writeText(RegistryHive::LocalMachine, key, QStringLiteral("InstallLocation"),
                               installFolder);
}
