#pragma once
// The editor's profile "Corvel_Vendara Quorra", where the online services find their settings.
#include <QSettings>

#include <memory>

std::unique_ptr<QSettings> OpenEditorProfile();
