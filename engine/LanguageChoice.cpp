#include "engine/LanguageChoice.h"

#include <QtGlobal>

using namespace Qt::StringLiterals;

std::optional<LanguageChoice::Language> LanguageChoice::named(const QString &code)
{
    if (code == u"zh")
        return Language::Chinese;
    if (code == u"en")
        return Language::English;
    return std::nullopt;
}

LanguageChoice::Language LanguageChoice::ofLocale(const QString &locale)
{
    // "zh_CN.UTF-8", "C.UTF-8", "de_DE@euro": the language is what comes
    // before the territory, the code set and the modifier.
    const QString language = locale.section(u'_', 0, 0).section(u'.', 0, 0).section(u'@', 0, 0);
    const bool chinese =
        language.isEmpty() || language == u"zh" || language == u"C" || language == u"POSIX";
    return chinese ? Language::Chinese : Language::English;
}

std::optional<LanguageChoice::Language> LanguageChoice::requested(const QStringList &arguments)
{
    const QString option = u"--"_s + OptionName.toString();
    std::optional<Language> language;
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != u"--"; ++i) {
        if (arguments[i] == option && i + 1 < arguments.size())
            language = named(arguments[++i]);
        else if (arguments[i].startsWith(option + u'='))
            language = named(arguments[i].mid(option.size() + 1));
    }
    return language;
}

LanguageChoice::Language LanguageChoice::choose(const QStringList &arguments, const QString &locale)
{
    return requested(arguments).value_or(ofLocale(locale));
}

QString LanguageChoice::environmentLocale()
{
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const QString value = qEnvironmentVariable(variable); !value.isEmpty())
            return value;
    }
    return {};
}

LanguageChoice::Language LanguageChoice::current(const QStringList &arguments)
{
    return choose(arguments, environmentLocale());
}
