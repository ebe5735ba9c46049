#include "online/EditorProfile.h"

std::unique_ptr<QSettings> OpenEditorProfile()
{
    return std::make_unique<QSettings>(QStringLiteral("Corvel_Vendara Quorra"), QStringLiteral("lindar"));
}
