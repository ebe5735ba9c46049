#pragma once
#include <QString>

// Whether the word-processor component is installed: either of its two uninstall keys
// exists under the machine's software uninstall key. The component's install step writes one.
class CTdxComponentRegistration {
public:
    static QString PrimaryKey();
    static QString AlternateKey();
    static bool IsInstalled();
    // The install step: writes the primary key with the component's name, version and folder.
    static bool Register(const QString& installFolder);
};
