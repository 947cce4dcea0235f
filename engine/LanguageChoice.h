#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Which language the two programs speak. Chinese is the source of every
// text and needs no translation; English comes from the translations beside
// the program. A Chinese locale keeps Chinese, and so do C and POSIX, which
// a system no one set a language on has; any other language gets English.
// --lang zh|en on the command line decides before the locale.
class LanguageChoice final
{
public:
    enum class Language
    {
        Chinese,
        English
    };

    static constexpr QStringView OptionName = u"lang";

    // "zh" or "en"; nothing for another code.
    static std::optional<Language> named(const QString &code);
    // The language of a locale name such as "en_US.UTF-8"; empty is unset.
    static Language ofLocale(const QString &locale);
    // The last --lang the arguments (the program's name first) give, in
    // either form, "--lang en" or "--lang=en"; nothing after "--".
    static std::optional<Language> requested(const QStringList &arguments);
    static Language choose(const QStringList &arguments, const QString &locale);

    // The locale the C library takes messages from: LC_ALL, else
    // LC_MESSAGES, else LANG.
    static QString environmentLocale();
    static Language current(const QStringList &arguments);
};
