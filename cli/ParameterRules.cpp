#include "ParameterRules.h"

#include "AudioCodec.h"
#include "CommandBuilder.h"
#include "OptionValues.h"
#include "OutputFormats.h"
#include "VideoCodec.h"

#include <algorithm>
#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

struct ValueRule
{
    Parameter parameter;
    QStringView option;
    QStringView expected; // empty: the value is checked where it is read
    bool (*accepts)(const QString &text);
};

bool isSize(const QString &text)
{
    return OptionValues::frameSize(text.trimmed()).has_value();
}

// Bitrates are given in kbit/s: "-ab 12.2k" as the coders get them.
bool isBitrate(const QString &text)
{
    return OptionValues::ffmpegBitrate(text.trimmed() + u'k').has_value();
}

bool isFrameRate(const QString &text)
{
    return OptionValues::frameRate(text.trimmed()).has_value();
}

// The entries that leave a value to the source, in their exact text.
bool isSourceEntry(Parameter parameter, const QString &text)
{
    ConversionSettings settings;
    settings.size = settings.videoBitrate = settings.frameRate = text;
    return settings.leftToSource(parameter);
}

bool isSampleRate(const QString &text)
{
    return OptionValues::wholeNumber(text.trimmed()).value_or(0) > 0;
}

const std::array ValueRules{
    ValueRule{Parameter::Size, u"--size", u"WIDTHxHEIGHT in positive whole numbers, or 原始大小",
              &isSize},
    ValueRule{Parameter::VideoBitrate, u"--video-bitrate",
              u"a positive number of kbit/s, or 自动(按质量) where the format takes it",
              &isBitrate},
    ValueRule{Parameter::FrameRate, u"--frame-rate",
              u"a positive number of frames per second, such as 25, 29.97 or 30000/1001, or "
              u"原始帧率 where the format takes it",
              &isFrameRate},
    ValueRule{Parameter::AudioRate, u"--audio-rate", u"a positive whole number of Hz",
              &isSampleRate},
    ValueRule{Parameter::AudioBitrate, u"--audio-bitrate",
              u"a positive number of kbit/s, such as 64 or 12.2", &isBitrate},
    // Read as mono or stereo where the command line is parsed.
    ValueRule{Parameter::Channels, u"--channels", {}, nullptr},
};

const ValueRule &ruleFor(Parameter parameter)
{
    return *std::find_if(ValueRules.begin(), ValueRules.end(), [parameter](const ValueRule &rule) {
        return rule.parameter == parameter;
    });
}

// The codec that takes a parameter's value in each format that snaps it.
struct SnapRule
{
    OutputFormat format;
    Parameter parameter;
    QStringView codec;
    double (*nearest)(const QString &codec, double wanted);
};

double nearestFrameRate(const QString &codec, double wanted)
{
    return VideoCodec::find(codec)->frameRateFor(wanted).value();
}

double nearestSampleRate(const QString &codec, double wanted)
{
    return AudioCodec::find(codec)->sampleRateFor(static_cast<int>(std::lround(wanted)));
}

const std::array SnapRules{
    SnapRule{OutputFormat::Mpg, Parameter::FrameRate, u"mpeg2video", &nearestFrameRate},
    SnapRule{OutputFormat::Avi, Parameter::FrameRate, u"mpeg2video", &nearestFrameRate},
    SnapRule{OutputFormat::Rmvb, Parameter::AudioRate, u"ac3", &nearestSampleRate},
    SnapRule{OutputFormat::Rm, Parameter::AudioRate, u"ac3", &nearestSampleRate},
    SnapRule{OutputFormat::Mp3Audio, Parameter::AudioRate, u"mp3", &nearestSampleRate},
    SnapRule{OutputFormat::Vp9Webm, Parameter::AudioRate, u"opus", &nearestSampleRate},
};

// 23.976 stands for 24000/1001 as the user would write it.
constexpr double SameValueTolerance = 0.0005;

QString formatName(OutputFormat format)
{
    return OutputFormats::of(format).cliName;
}

QString unusedWarning(const ValueRule &rule, const ConversionSettings &settings)
{
    const bool usedAtOtherSizes = (CommandBuilder::stageOneParameters(settings.format) |
                                   CommandBuilder::stageTwoParameters(settings.format))
                                      .testFlag(rule.parameter);
    return u"%1 is not used by %2%3; it is ignored."_s.arg(
        rule.option, formatName(settings.format),
        usedAtOtherSizes ? u" at the source's size"_s : QString());
}

QString snapWarning(const SnapRule &rule, const QString &text)
{
    // Every value that can be snapped is a number; frame rates may be fractions.
    const double wanted = *OptionValues::frameRate(text.trimmed());
    const double taken = rule.nearest(rule.codec.toString(), wanted);
    if (std::abs(taken - wanted) < SameValueTolerance)
        return {};
    return u"%1 %2 becomes %3 for %4: the nearest value %5 takes."_s.arg(
        ruleFor(rule.parameter).option, text.trimmed(), QString::number(taken, 'g', 5),
        formatName(rule.format), rule.codec);
}

} // namespace

QString ParameterRules::problem(OutputFormat format, Parameter parameter, const QString &text)
{
    const ValueRule &rule = ruleFor(parameter);
    // Every format takes the size entry; the others only formats that leave
    // their option out for them, or that do not use the parameter at all.
    if (isSourceEntry(parameter, text)) {
        const Parameters usable =
            CommandBuilder::stageOneParameters(format) | CommandBuilder::stageTwoParameters(format);
        if (parameter == Parameter::Size || !usable.testFlag(parameter) ||
            CommandBuilder::optionalParameters(format).testFlag(parameter))
            return {};
        return u"%1 %2 is not taken by %3"_s.arg(rule.option, text, formatName(format));
    }
    if (!rule.accepts || rule.accepts(text))
        return {};
    return u"%1 must be %2, not \"%3\""_s.arg(rule.option, rule.expected, text);
}

QStringList ParameterRules::warnings(const ConversionSettings &settings, Parameters given)
{
    QStringList lines;
    const Parameters used = CommandBuilder::usedParameters(settings);
    for (const ValueRule &rule : ValueRules) {
        if (given.testFlag(rule.parameter) && !used.testFlag(rule.parameter))
            lines.append(unusedWarning(rule, settings));
    }
    for (const SnapRule &rule : SnapRules) {
        if (rule.format != settings.format || !given.testFlag(rule.parameter) ||
            !used.testFlag(rule.parameter))
            continue;
        if (const QString line = snapWarning(rule, settings.text(rule.parameter)); !line.isEmpty())
            lines.append(line);
    }
    return lines;
}
