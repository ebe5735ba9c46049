#pragma once
// Qt's own texts (stock dialogs, standard buttons, context menus) in the user's language,
// so that they match the Korean interface.
#include <QLocale>

namespace platform {

// Installs Qt's translation for `locale` into the running application; true when one was
// found. A language Qt has no translation for keeps Qt's own (English) texts.
bool InstallQtTranslations(const QLocale& locale = QLocale::system());

} // namespace platform
