#include "ui/WindowOptions.h"

#include "engine/LanguageChoice.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

namespace {

struct Options
{
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QCoreApplication::translate("WindowOptions", "Show the version.")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QCoreApplication::translate("WindowOptions", "Show this help.")};
    QCommandLineOption language{
        LanguageChoice::OptionName.toString(),
        QCoreApplication::translate("WindowOptions",
                                    "Language of the window: zh (Chinese) or en (English) "
                                    "(default: Chinese for a Chinese, C or POSIX locale, else "
                                    "English)."),
        QStringLiteral("zh|en")};

    void addTo(QCommandLineParser &parser) const
    {
        parser.setApplicationDescription(QCoreApplication::translate(
            "WindowOptions", "Converts video and audio files in batches. Files and folders given "
                             "here are queued; when Zenvora already runs, they go to its window."));
        parser.addOptions({version, help, language});
        parser.addPositionalArgument(
            QStringLiteral("PATH"),
            QCoreApplication::translate("WindowOptions",
                                        "Files, and folders to queue all files of."),
            QStringLiteral("[PATH...]"));
    }
};

} // namespace

WindowOptions WindowOptions::parse(const QStringList &arguments)
{
    WindowOptions result;
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    const bool understood = parser.parse(arguments);
    result.versionRequested = parser.isSet(options.version);
    result.helpRequested = parser.isSet(options.help);
    if (!understood) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(options.language) && !LanguageChoice::named(parser.value(options.language))) {
        result.error = QCoreApplication::translate("WindowOptions", "--lang must be zh or en: ") +
                       parser.value(options.language);
        return result;
    }
    for (const QString &path : parser.positionalArguments())
        result.paths.append(QFileInfo(path).absoluteFilePath());
    return result;
}

QString WindowOptions::helpText()
{
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    return parser.helpText();
}
