#pragma once

#include "engine/LanguageChoice.h"

#include <QString>

class QCoreApplication;

// The program's own texts in the language chosen for them.
namespace AppTranslations {

// "translations" in the program folder, as the build tree and an installed
// copy both have it.
QString folder();
// For English, gives the application the translations found in the folder;
// Chinese, the source of every text, needs none. False when the English
// ones cannot be loaded: the texts then stay Chinese.
bool install(QCoreApplication &app, LanguageChoice::Language language, const QString &folder);

} // namespace AppTranslations
