#include "engine/AppTranslations.h"

#include "engine/AppPaths.h"

#include <QCoreApplication>
#include <QTranslator>

namespace AppTranslations {

QString folder()
{
    return AppPaths::ProgramFolder() + QStringLiteral("/translations");
}

bool install(QCoreApplication &app, LanguageChoice::Language language, const QString &folder)
{
    if (language == LanguageChoice::Language::Chinese)
        return true;
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("zenvora_en"), folder) &&
        QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

} // namespace AppTranslations
