#include "WindowOptions.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

struct Options
{
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version.")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help.")};

    void addTo(QCommandLineParser &parser) const
    {
        parser.setApplicationDescription(
            QStringLiteral("Converts video and audio files in batches. Files and folders given "
                           "here are queued; when Zenvora already runs, they go to its window."));
        parser.addOptions({version, help});
        parser.addPositionalArgument(QStringLiteral("PATH"),
                                     QStringLiteral("Files, and folders to queue all files of."),
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
