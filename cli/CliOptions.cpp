#include "cli/CliOptions.h"

#include "encoders/protocol/JobChoices.h"
#include "engine/LanguageChoice.h"
#include "engine/OutputFormats.h"
#include "engine/ParameterRules.h"
#include "engine/TextNumber.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <optional>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

std::optional<OutputFormat> formatNamed(const QString &name)
{
    bool isNumber = false;
    const int index = name.toInt(&isNumber);
    if (isNumber)
        return OutputFormats::fromIndex(index);
    return OutputFormats::fromCliName(name);
}

QString formatHelp()
{
    QStringList names;
    for (int index = 0; index < OutputFormats::Count; ++index)
        names.append(OutputFormats::of(*OutputFormats::fromIndex(index)).cliName);
    return QCoreApplication::translate("CliOptions", "Output format: 0..%1 or %2 (default %3).")
        .arg(OutputFormats::Count - 1)
        .arg(names.join(QStringLiteral(", ")), names.first());
}

struct Options
{
    QCommandLineOption format{
        {QStringLiteral("f"), QStringLiteral("format")}, formatHelp(), QStringLiteral("format")};
    QCommandLineOption size{
        {QStringLiteral("s"), QStringLiteral("size")},
        QCoreApplication::translate("CliOptions",
                                    "Frame size WIDTHxHEIGHT, or 原始大小 for the source's."),
        QStringLiteral("size")};
    QCommandLineOption videoBitrate{
        QStringLiteral("video-bitrate"),
        QCoreApplication::translate("CliOptions", "Video bitrate in kbit/s."),
        QStringLiteral("kbps")};
    QCommandLineOption frameRate{QStringLiteral("frame-rate"),
                                 QCoreApplication::translate("CliOptions", "Frames per second."),
                                 QStringLiteral("fps")};
    QCommandLineOption audioRate{
        QStringLiteral("audio-rate"),
        QCoreApplication::translate("CliOptions", "Audio sample rate in Hz."),
        QStringLiteral("hz")};
    QCommandLineOption audioBitrate{
        QStringLiteral("audio-bitrate"),
        QCoreApplication::translate("CliOptions", "Audio bitrate in kbit/s."),
        QStringLiteral("kbps")};
    QCommandLineOption channels{QStringLiteral("channels"),
                                QCoreApplication::translate("CliOptions", "mono or stereo."),
                                QStringLiteral("channels")};
    QCommandLineOption output{
        {QStringLiteral("o"), QStringLiteral("output")},
        QCoreApplication::translate("CliOptions",
                                    "Output folder (default: your videos folder/Zenvora)."),
        QStringLiteral("folder")};
    QCommandLineOption stallTimeout{
        QStringLiteral("stall-timeout"),
        QCoreApplication::translate("CliOptions",
                                    "Fail a job whose encoder prints nothing for this many seconds "
                                    "(default 300; 0: wait for ever)."),
        QStringLiteral("seconds")};
    QCommandLineOption jobs{
        {QStringLiteral("j"), QStringLiteral("jobs")},
        QCoreApplication::translate("CliOptions",
                                    "Convert up to N files at once (default 1; 0: one for "
                                    "each processor)."),
        QStringLiteral("N")};
    QCommandLineOption from{QStringLiteral("from"),
                            QCoreApplication::translate(
                                "CliOptions", "Convert each file from this time on: [[H:]M:]S, "
                                              "minutes and seconds below 60 (default: its start)."),
                            QStringLiteral("TIME")};
    QCommandLineOption to{QStringLiteral("to"),
                          QCoreApplication::translate(
                              "CliOptions", "Convert each file up to this time, later than --from "
                                            "(default: its end)."),
                          QStringLiteral("TIME")};
    QCommandLineOption subtitles{
        QStringLiteral("subtitles"),
        QCoreApplication::translate(
            "CliOptions", "Subtitles burned into the picture: auto (a subtitle file named like the "
                          "source beside it, else the source's default or forced track), off, or "
                          "the subtitle file to burn (default auto)."),
        QStringLiteral("auto|off|FILE")};
    QCommandLineOption audioTrack{
        QStringLiteral("audio-track"),
        QCoreApplication::translate(
            "CliOptions", "Sound track to convert: its number, counting from 1, or a language code "
                          "such as chi or eng (default: the track the source flags as default, "
                          "else its first)."),
        QStringLiteral("N|LANG")};
    QCommandLineOption filesFrom{
        QStringLiteral("files-from"),
        QCoreApplication::translate(
            "CliOptions",
            "Also convert the files named in LIST, one a line (- for standard input)."),
        QStringLiteral("LIST")};
    QCommandLineOption nullSeparated{
        {QStringLiteral("0"), QStringLiteral("null")},
        QCoreApplication::translate(
            "CliOptions",
            "Names in the lists end with a NUL character, as find -print0 writes them.")};
    QCommandLineOption noInhibit{
        QStringLiteral("no-inhibit"),
        QCoreApplication::translate("CliOptions", "Let the machine sleep while converting.")};
    QCommandLineOption language{
        LanguageChoice::OptionName.toString(),
        QCoreApplication::translate("CliOptions",
                                    "Language of the messages: zh (Chinese) or en (English) "
                                    "(default: Chinese for a Chinese, C or POSIX locale, else "
                                    "English)."),
        QStringLiteral("zh|en")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QCoreApplication::translate("CliOptions", "Show this help.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QCoreApplication::translate("CliOptions", "Show the version.")};

    void addTo(QCommandLineParser &parser) const
    {
        parser.setApplicationDescription(QCoreApplication::translate(
            "CliOptions", "Converts media files with the encoders of Zenvora."));
        parser.addOptions({format,        size,      videoBitrate, frameRate,    audioRate,
                           audioBitrate,  channels,  output,       stallTimeout, jobs,
                           from,          to,        subtitles,    audioTrack,   filesFrom,
                           nullSeparated, noInhibit, language,     help,         version});
        parser.addPositionalArgument(QStringLiteral("FILE"),
                                     QCoreApplication::translate("CliOptions", "Files to convert."),
                                     QStringLiteral("FILE..."));
    }
};

// A whole number from zero up to the most; nothing when the text is none.
std::optional<int> countIn(const QString &text, int most)
{
    bool ok = false;
    const int count = text.toInt(&ok);
    return ok && count >= 0 && count <= most ? std::optional<int>(count) : std::nullopt;
}

// The watchdog counts in milliseconds: a week keeps that far from overflowing.
constexpr int MaxStallTimeoutSeconds = 7 * 24 * 60 * 60;
constexpr int MaxParallelJobs = 1024;

bool readCounts(const QCommandLineParser &parser, const Options &options, JobChoices &choices,
                CliOptions &result)
{
    const std::tuple<const QCommandLineOption &, int &, int, const char *> counts[] = {
        {options.stallTimeout, result.stallTimeoutSeconds, MaxStallTimeoutSeconds,
         QT_TRANSLATE_NOOP("CliOptions",
                           "The stall timeout must be a number of seconds from 0 to 604800 (a "
                           "week): ")},
        {options.jobs, choices.filesAtOnce, MaxParallelJobs,
         QT_TRANSLATE_NOOP("CliOptions",
                           "The number of jobs must be a whole number from 0 to 1024: ")},
    };
    for (const auto &[option, count, most, problem] : counts) {
        if (!parser.isSet(option))
            continue;
        const std::optional<int> value = countIn(parser.value(option), most);
        if (!value) {
            result.error =
                QCoreApplication::translate("CliOptions", problem) + parser.value(option);
            return false;
        }
        count = *value;
    }
    if (choices.filesAtOnce == 0)
        choices.filesAtOnce = std::max(1, QThread::idealThreadCount());
    return true;
}

// Why the chosen format does not use a given parameter and what it has instead.
QString unusedWarning(const QString &option, Parameter parameter, OutputFormat format,
                      const ParameterRules::Unused &unused)
{
    const QString formatName = OutputFormats::of(format).cliName;
    QString instead;
    switch (unused.kind) {
    case ParameterRules::Unused::Kind::Fixed:
        instead = QCoreApplication::translate("CliOptions", "%1 uses %2")
                      .arg(formatName, parameter != Parameter::Channels ? unused.value
                                       : unused.value == u"1"           ? u"mono"_s
                                                                        : u"stereo"_s);
        break;
    case ParameterRules::Unused::Kind::Source:
        instead = QCoreApplication::translate("CliOptions", "the output keeps the source's");
        break;
    case ParameterRules::Unused::Kind::EncoderChoice:
        instead = QCoreApplication::translate("CliOptions", "the encoder picks it for the quality");
        break;
    case ParameterRules::Unused::Kind::NoPicture:
        instead = QCoreApplication::translate("CliOptions", "%1 has no picture").arg(formatName);
        break;
    }
    return QCoreApplication::translate("CliOptions", "%1 is not used by %2%3; it is ignored (%4).")
        .arg(option, formatName,
             unused.usedAtOtherSizes
                 ? QCoreApplication::translate("CliOptions", " at the source's size")
                 : QString(),
             instead);
}

// Every given value is checked; what the format ignores of them, or its
// codec moves to the nearest value it takes, is told in warnings.
bool readParameters(const QCommandLineParser &parser, const Options &options,
                    ConversionSettings &settings, CliOptions &result)
{
    // In the order the warnings name them. The channels were read above.
    const std::tuple<const QCommandLineOption &, Parameter, const char *> texts[] = {
        {options.size, Parameter::Size,
         QT_TRANSLATE_NOOP("CliOptions", "WIDTHxHEIGHT in positive whole numbers, or 原始大小")},
        {options.videoBitrate, Parameter::VideoBitrate,
         QT_TRANSLATE_NOOP("CliOptions", "a positive number of kbit/s, or 自动(按质量) where the "
                                         "format takes it")},
        {options.frameRate, Parameter::FrameRate,
         QT_TRANSLATE_NOOP("CliOptions", "a positive number of frames per second, such as 25, "
                                         "29.97 or 30000/1001, or 原始帧率 where the format takes "
                                         "it")},
        {options.audioRate, Parameter::AudioRate,
         QT_TRANSLATE_NOOP("CliOptions", "a positive whole number of Hz")},
        {options.audioBitrate, Parameter::AudioBitrate,
         QT_TRANSLATE_NOOP("CliOptions", "a positive number of kbit/s, such as 64 or 12.2")},
        {options.channels, Parameter::Channels, nullptr},
    };
    const QString formatName = OutputFormats::of(settings.format).cliName;
    QList<std::pair<Parameter, QString>> given;
    for (const auto &[option, parameter, expected] : texts) {
        if (!parser.isSet(option))
            continue;
        const QString name = u"--"_s + option.names().constLast();
        given.append({parameter, name});
        if (!expected)
            continue;
        const QString text = parser.value(option);
        settings.setText(parameter, text);
        const auto refusal = ParameterRules::refusal(settings.format, parameter, text);
        if (!refusal)
            continue;
        result.error =
            *refusal == ParameterRules::Refusal::SourceEntryRefused
                ? QCoreApplication::translate("CliOptions", "%1 %2 is not taken by %3")
                      .arg(name, text, formatName)
                : QCoreApplication::translate("CliOptions", "%1 must be %2, not \"%3\"")
                      .arg(name, QCoreApplication::translate("CliOptions", expected), text);
        return false;
    }
    for (const auto &[parameter, name] : given) {
        if (const auto unused = ParameterRules::unused(settings, parameter))
            result.warnings.append(unusedWarning(name, parameter, settings.format, *unused));
    }
    for (const auto &[parameter, name] : given) {
        if (const auto moved = ParameterRules::move(settings, parameter))
            result.warnings.append(
                QCoreApplication::translate("CliOptions",
                                            "%1 %2 becomes %3 for %4: the nearest value %5 takes.")
                    .arg(name, settings.text(parameter).trimmed(), moved->taken, formatName,
                         moved->codec));
    }
    return true;
}

// A time as the options dialog takes it: hours, minutes and seconds, the
// minutes and seconds below 60, rounded to whole seconds.
std::optional<qint32> secondsIn(const QString &text, QString &error)
{
    const QStringList parts = text.split(u':');
    std::array<double, 3> fields{};             // hours, minutes, seconds
    const qsizetype missing = 3 - parts.size(); // the leading fields left out
    bool understood = missing >= 0;
    for (qsizetype i = 0; understood && i < parts.size(); ++i) {
        const std::optional<double> value = TextNumber::parse(parts[i]);
        understood = value.has_value();
        fields[static_cast<std::size_t>(missing + i)] = value.value_or(0);
    }
    if (!understood) {
        error = QCoreApplication::translate("CliOptions", "A time must be [[H:]M:]S: ") + text;
        return std::nullopt;
    }
    if (fields[1] > 59 || fields[2] > 59) {
        error =
            (fields[1] > 59
                 ? QCoreApplication::translate("CliOptions", "Minutes must be less than 60: ")
                 : QCoreApplication::translate("CliOptions", "Seconds must be less than 60: ")) +
            text;
        return std::nullopt;
    }
    const double total = TextNumber::roundHalfEven(fields[0] * 3600 + fields[1] * 60 + fields[2]);
    if (total > std::numeric_limits<qint32>::max() || total < std::numeric_limits<qint32>::min()) {
        error = QCoreApplication::translate("CliOptions", "The time is too far: ") + text;
        return std::nullopt;
    }
    return static_cast<qint32>(total);
}

bool readCut(const QCommandLineParser &parser, const Options &options, JobChoices &choices,
             QString &error)
{
    std::array<qint32, 2> times{}; // from, to
    const std::array<const QCommandLineOption *, 2> given{&options.from, &options.to};
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (!parser.isSet(*given[i]))
            continue;
        const std::optional<qint32> seconds = secondsIn(parser.value(*given[i]), error);
        if (!seconds)
            return false;
        times[i] = *seconds;
    }
    if (parser.isSet(options.to) && times[1] <= std::max(times[0], 0)) {
        error = QCoreApplication::translate("CliOptions", "--to must be later than --from: ") +
                parser.value(options.to);
        return false;
    }
    choices.setCut(times[0], times[1]);
    return true;
}

// A subtitle file is checked here, where a mistyped name can still be
// told at once, rather than failing every job of the batch; the encoders
// run from elsewhere, so they get its absolute path.
bool readSubtitles(const QString &value, JobChoices &choices, QString &error)
{
    choices.subtitles = JobChoices::Subtitles::fromText(value);
    if (choices.subtitles.kind != JobChoices::Subtitles::Kind::File)
        return true;
    const QFileInfo info(value);
    QFile file(value);
    // Only a regular file: opening a pipe would wait for a writer.
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        error = QCoreApplication::translate(
                    "CliOptions", "--subtitles must be auto, off or a readable subtitle file: ") +
                value +
                (!info.exists()   ? QCoreApplication::translate("CliOptions", " does not exist")
                 : !info.isFile() ? QCoreApplication::translate("CliOptions", " is not a file")
                                  : QCoreApplication::translate("CliOptions", " cannot be read: ") +
                                        file.errorString());
        return false;
    }
    choices.subtitles.file = info.absoluteFilePath();
    return true;
}

bool readAudioTrack(const QString &value, JobChoices &choices, QString &error)
{
    const std::optional<JobChoices::AudioTrack> track = JobChoices::AudioTrack::fromText(value);
    if (track) {
        choices.audioTrack = *track;
        return true;
    }
    error = QCoreApplication::translate(
                "CliOptions", "--audio-track must be a track number from 1 or a language code of "
                              "2 or 3 letters such as chi or eng: ") +
            value;
    return false;
}

// The names in a list file, or on standard input for "-". They are decoded
// as the system decodes the arguments, so a listed name is the same name as
// on the command line. A line's ending CR is dropped for lists written on
// Windows; with NUL separators every name is taken exactly.
std::optional<QStringList> namesInList(const QString &list, char separator, QString &error)
{
    QFile file(list);
    const bool opened =
        list == u"-" ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    const QByteArray content = opened ? file.readAll() : QByteArray();
    if (!opened || file.error() != QFileDevice::NoError) {
        error =
            QCoreApplication::translate("CliOptions", "Cannot read the file list %1: %2")
                .arg(list == u"-" ? QCoreApplication::translate("CliOptions", "on standard input")
                                  : list,
                     file.errorString());
        return std::nullopt;
    }
    QStringList names;
    for (QByteArrayView name : content.split(separator)) {
        if (separator == '\n' && name.endsWith('\r'))
            name.chop(1);
        if (!name.isEmpty())
            names.append(QFile::decodeName(name.toByteArray()));
    }
    return names;
}

void readFiles(const QCommandLineParser &parser, const Options &options, CliOptions &result)
{
    const bool nullSeparated = parser.isSet(options.nullSeparated);
    if (nullSeparated && !parser.isSet(options.filesFrom)) {
        result.error = QCoreApplication::translate(
            "CliOptions", "-0 (--null) applies to the lists of --files-from, and none is given.");
        return;
    }
    QStringList names = parser.positionalArguments();
    for (const QString &list : parser.values(options.filesFrom)) {
        const std::optional<QStringList> listed =
            namesInList(list, nullSeparated ? '\0' : '\n', result.error);
        if (!listed)
            return;
        names += *listed;
    }
    for (const QString &name : std::as_const(names))
        result.files.append(QFileInfo(name).absoluteFilePath());
    if (result.files.isEmpty())
        result.error = QCoreApplication::translate("CliOptions", "No file to convert.");
}

} // namespace

CliOptions CliOptions::parse(const QStringList &arguments, const QString &defaultOutputFolder)
{
    CliOptions result;
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    result.inhibitSleep = !parser.isSet(options.noInhibit);
    result.helpRequested = parser.isSet(options.help);
    result.versionRequested = parser.isSet(options.version);
    if (result.helpRequested || result.versionRequested)
        return result;

    if (parser.isSet(options.language) && !LanguageChoice::named(parser.value(options.language))) {
        result.error = QCoreApplication::translate("CliOptions", "--lang must be zh or en: ") +
                       parser.value(options.language);
        return result;
    }
    ConversionSettings settings = ConversionSettings::startupDefaults();
    if (parser.isSet(options.format)) {
        const std::optional<OutputFormat> format = formatNamed(parser.value(options.format));
        if (!format) {
            result.error = QCoreApplication::translate("CliOptions", "Unknown format: ") +
                           parser.value(options.format);
            return result;
        }
        settings.selectFormat(*format);
    }
    if (parser.isSet(options.channels)) {
        const qsizetype channelIndex =
            QStringList{u"mono"_s, u"stereo"_s}.indexOf(parser.value(options.channels));
        if (channelIndex < 0) {
            result.error =
                QCoreApplication::translate("CliOptions", "Channels must be mono or stereo: ") +
                parser.value(options.channels);
            return result;
        }
        settings.channelIndex = static_cast<int>(channelIndex);
    }
    if (!readCounts(parser, options, settings.choices, result) ||
        !readParameters(parser, options, settings, result) ||
        !readCut(parser, options, settings.choices, result.error))
        return result;
    if (parser.isSet(options.subtitles) &&
        !readSubtitles(parser.value(options.subtitles), settings.choices, result.error))
        return result;
    if (parser.isSet(options.audioTrack) &&
        !readAudioTrack(parser.value(options.audioTrack), settings.choices, result.error))
        return result;
    settings.outputFolder = parser.isSet(options.output)
                                ? QFileInfo(parser.value(options.output)).absoluteFilePath()
                                : defaultOutputFolder;
    result.settings = settings;
    readFiles(parser, options, result);
    return result;
}

QString CliOptions::helpText()
{
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    return parser.helpText();
}
