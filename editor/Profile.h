#pragma once
#include <QSettings>
#include <memory>

// The editor's profile "Corvel_Vendara Quorra": look value, recent files, layout.
class CProfile {
public:
    static std::unique_ptr<QSettings> Open();
    static int ReadLook(); // "ApplicationLook", default 214
    static void WriteLook(int look);
};
