#include "CliOptions.h"

#include "OutputFormats.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <array>
#include <optional>

namespace {

constexpr std::array FormatNames{u"rmvb", u"rm",        u"mpg", u"avi", u"mp4hq",
                                 u"mov",  u"mp4mobile", u"3gp", u"mp3"};

std::optional<OutputFormat> formatNamed(const QString &name)
{
    bool isNumber = false;
    const int index = name.toInt(&isNumber);
    if (isNumber)
        return OutputFormats::fromIndex(index);
    for (std::size_t i = 0; i < FormatNames.size(); ++i) {
        if (name.compare(FormatNames[i], Qt::CaseInsensitive) == 0)
            return OutputFormats::fromIndex(static_cast<int>(i));
    }
    return std::nullopt;
}

std::optional<int> channelIndexNamed(const QString &name)
{
    if (name == u"mono")
        return 0;
    if (name == u"stereo")
        return 1;
    return std::nullopt;
}

struct Options
{
    QCommandLineOption format{{QStringLiteral("f"), QStringLiteral("format")},
                              QStringLiteral("Output format: 0..8 or rmvb, rm, mpg, avi, mp4hq, "
                                             "mov, mp4mobile, 3gp, mp3 (default rmvb)."),
                              QStringLiteral("format")};
    QCommandLineOption size{
        {QStringLiteral("s"), QStringLiteral("size")},
        QStringLiteral("Frame size WIDTHxHEIGHT, or 原始大小 for the source's."),
        QStringLiteral("size")};
    QCommandLineOption videoBitrate{QStringLiteral("video-bitrate"),
                                    QStringLiteral("Video bitrate in kbit/s."),
                                    QStringLiteral("kbps")};
    QCommandLineOption frameRate{QStringLiteral("frame-rate"), QStringLiteral("Frames per second."),
                                 QStringLiteral("fps")};
    QCommandLineOption audioRate{QStringLiteral("audio-rate"),
                                 QStringLiteral("Audio sample rate in Hz."), QStringLiteral("hz")};
    QCommandLineOption audioBitrate{QStringLiteral("audio-bitrate"),
                                    QStringLiteral("Audio bitrate in kbit/s."),
                                    QStringLiteral("kbps")};
    QCommandLineOption channels{QStringLiteral("channels"), QStringLiteral("mono or stereo."),
                                QStringLiteral("channels")};
    QCommandLineOption output{
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Output folder (default: your videos folder/Zenvora)."),
        QStringLiteral("folder")};
    QCommandLineOption stallTimeout{
        QStringLiteral("stall-timeout"),
        QStringLiteral("Fail a job whose encoder prints nothing for this many seconds "
                       "(default 300; 0: wait for ever)."),
        QStringLiteral("seconds")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help.")};

    void addTo(QCommandLineParser &parser) const
    {
        parser.setApplicationDescription(QStringLiteral(
            "Converts media files with the encoders of Zenvora, one after another."));
        parser.addOptions({format, size, videoBitrate, frameRate, audioRate, audioBitrate, channels,
                           output, stallTimeout, help});
        parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Files to convert."),
                                     QStringLiteral("FILE..."));
    }
};

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
    if (parser.isSet(options.help)) {
        result.helpRequested = true;
        return result;
    }

    ConversionSettings settings = ConversionSettings::startupDefaults();
    if (parser.isSet(options.format)) {
        const std::optional<OutputFormat> format = formatNamed(parser.value(options.format));
        if (!format) {
            result.error = QStringLiteral("Unknown format: ") + parser.value(options.format);
            return result;
        }
        settings.selectFormat(*format);
    }
    if (parser.isSet(options.channels)) {
        const std::optional<int> channelIndex = channelIndexNamed(parser.value(options.channels));
        if (!channelIndex) {
            result.error = QStringLiteral("Channels must be mono or stereo: ") +
                           parser.value(options.channels);
            return result;
        }
        settings.channelIndex = *channelIndex;
    }
    if (parser.isSet(options.stallTimeout)) {
        bool ok = false;
        result.stallTimeoutSeconds = parser.value(options.stallTimeout).toInt(&ok);
        if (!ok || result.stallTimeoutSeconds < 0) {
            result.error = QStringLiteral("The stall timeout must be a number of seconds: ") +
                           parser.value(options.stallTimeout);
            return result;
        }
    }
    const std::pair<const QCommandLineOption &, QString &> texts[] = {
        {options.size, settings.size},
        {options.videoBitrate, settings.videoBitrate},
        {options.frameRate, settings.frameRate},
        {options.audioRate, settings.audioRate},
        {options.audioBitrate, settings.audioBitrate},
    };
    for (const auto &[option, text] : texts) {
        if (parser.isSet(option))
            text = parser.value(option);
    }
    settings.outputFolder = parser.isSet(options.output)
                                ? QFileInfo(parser.value(options.output)).absoluteFilePath()
                                : defaultOutputFolder;
    result.settings = settings;

    for (const QString &file : parser.positionalArguments())
        result.files.append(QFileInfo(file).absoluteFilePath());
    if (result.files.isEmpty())
        result.error = QStringLiteral("No file to convert.");
    return result;
}

QString CliOptions::helpText()
{
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    return parser.helpText();
}
