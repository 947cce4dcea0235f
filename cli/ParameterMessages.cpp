#include "ParameterMessages.h"

#include "OutputFormats.h"
#include "ParameterRules.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

struct CliParameter
{
    Parameter parameter;
    QStringView option;
    const char *expected; // none: the value is checked where it is read
};

// In the order the warnings name them.
const std::array CliParameters{
    CliParameter{Parameter::Size, u"--size",
                    QT_TRANSLATE_NOOP("ParameterMessages",
                                      "WIDTHxHEIGHT in positive whole numbers, or 原始大小")},
    CliParameter{Parameter::VideoBitrate, u"--video-bitrate",
                    QT_TRANSLATE_NOOP("ParameterMessages",
                                      "a positive number of kbit/s, or 自动(按质量) where the "
                                      "format takes it")},
    CliParameter{Parameter::FrameRate, u"--frame-rate",
                    QT_TRANSLATE_NOOP("ParameterMessages",
                                      "a positive number of frames per second, such as 25, 29.97 "
                                      "or 30000/1001, or 原始帧率 where the format takes it")},
    CliParameter{Parameter::AudioRate, u"--audio-rate",
                    QT_TRANSLATE_NOOP("ParameterMessages", "a positive whole number of Hz")},
    CliParameter{
        Parameter::AudioBitrate, u"--audio-bitrate",
        QT_TRANSLATE_NOOP("ParameterMessages", "a positive number of kbit/s, such as 64 or 12.2")},
    CliParameter{Parameter::Channels, u"--channels", nullptr},
};

const CliParameter &optionFor(Parameter parameter)
{
    return *std::find_if(
        CliParameters.begin(), CliParameters.end(),
        [parameter](const CliParameter &option) { return option.parameter == parameter; });
}

QString formatName(OutputFormat format)
{
    return OutputFormats::of(format).cliName;
}

QString unusedValueWords(Parameter parameter, const ParameterRules::Unused &unused,
                         OutputFormat format)
{
    using Kind = ParameterRules::Unused::Kind;
    switch (unused.kind) {
    case Kind::Fixed:
        return QCoreApplication::translate("ParameterMessages", "%1 uses %2")
            .arg(formatName(format), parameter != Parameter::Channels ? unused.value
                                     : unused.value == u"1"           ? u"mono"_s
                                                                      : u"stereo"_s);
    case Kind::Source:
        return QCoreApplication::translate("ParameterMessages", "the output keeps the source's");
    case Kind::EncoderChoice:
        return QCoreApplication::translate("ParameterMessages",
                                           "the encoder picks it for the quality");
    case Kind::NoPicture:
        return QCoreApplication::translate("ParameterMessages", "%1 has no picture")
            .arg(formatName(format));
    }
    return {};
}

QString unusedWarning(const CliParameter &option, OutputFormat format,
                      const ParameterRules::Unused &unused)
{
    return QCoreApplication::translate("ParameterMessages",
                                       "%1 is not used by %2%3; it is ignored (%4).")
        .arg(option.option, formatName(format),
             unused.usedAtOtherSizes
                 ? QCoreApplication::translate("ParameterMessages", " at the source's size")
                 : QString(),
             unusedValueWords(option.parameter, unused, format));
}

} // namespace

namespace ParameterMessages {

QString problem(OutputFormat format, Parameter parameter, const QString &text)
{
    const std::optional<ParameterRules::Refusal> refusal =
        ParameterRules::refusal(format, parameter, text);
    if (!refusal)
        return {};
    const CliParameter &option = optionFor(parameter);
    if (*refusal == ParameterRules::Refusal::SourceEntryRefused)
        return QCoreApplication::translate("ParameterMessages", "%1 %2 is not taken by %3")
            .arg(option.option, text, formatName(format));
    return QCoreApplication::translate("ParameterMessages", "%1 must be %2, not \"%3\"")
        .arg(option.option, QCoreApplication::translate("ParameterMessages", option.expected),
             text);
}

QStringList warnings(const ConversionSettings &settings, Parameters given)
{
    QStringList lines;
    for (const CliParameter &option : CliParameters) {
        if (!given.testFlag(option.parameter))
            continue;
        if (const auto unused = ParameterRules::unused(settings, option.parameter))
            lines.append(unusedWarning(option, settings.format, *unused));
    }
    for (const CliParameter &option : CliParameters) {
        const auto moved = given.testFlag(option.parameter)
                               ? ParameterRules::move(settings, option.parameter)
                               : std::nullopt;
        if (moved)
            lines.append(
                QCoreApplication::translate("ParameterMessages",
                                            "%1 %2 becomes %3 for %4: the nearest value %5 takes.")
                    .arg(option.option, settings.text(option.parameter).trimmed(), moved->taken,
                         formatName(settings.format), moved->codec));
    }
    return lines;
}

} // namespace ParameterMessages
