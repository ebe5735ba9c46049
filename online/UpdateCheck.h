#pragma once
// The start-up update check: asks the update server for the newest version and fills the
// update dialog's field list with what it says.
#include "online/UpdateCheckResult.h"

#include <QString>

class CUpdateDlg;

// The version built into this program.
inline const QString kBuiltInVersion = QStringLiteral("0.9.3.0");

// Writes the HTTP status into statusCode when an answer arrives. The fields of the answer
// are appended to the dialog's field list; for UPDATE_AVAILABLE the built-in version
// follows as the fifth entry.
UpdateCheckResult CheckForUpdate(quint32& statusCode, CUpdateDlg& dlg);
