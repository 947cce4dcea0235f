#include "ParameterRules.h"

#include "AudioCodec.h"
#include "CoderOptions.h"
#include "CommandBuilder.h"
#include "Container.h"
#include "ConvOptions.h"
#include "OptionValues.h"
#include "OutputFormats.h"
#include "VideoCodec.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

struct ValueRule
{
    Parameter parameter;
    bool (*accepts)(const QString &text); // none: the value is checked where it is read
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
    ValueRule{Parameter::Size, &isSize},
    ValueRule{Parameter::VideoBitrate, &isBitrate},
    ValueRule{Parameter::FrameRate, &isFrameRate},
    ValueRule{Parameter::AudioRate, &isSampleRate},
    ValueRule{Parameter::AudioBitrate, &isBitrate},
    // Read as mono or stereo where the command line is parsed.
    ValueRule{Parameter::Channels, nullptr},
};

const ValueRule &ruleFor(Parameter parameter)
{
    return *std::find_if(ValueRules.begin(), ValueRules.end(), [parameter](const ValueRule &rule) {
        return rule.parameter == parameter;
    });
}

// What the encoder of the job's last stage makes of the command the format's
// row builds for the settings, as the encoders read it; nothing when it
// reads no request from it.
std::optional<EncodeRequest> lastStageRequest(const ConversionSettings &settings)
{
    CommandEnvironment environment;
    environment.programFolder = u"/zenvora"_s;
    environment.intermediatePath = u"/zenvora/tmp.mp4"_s;
    environment.pathExists = [](const QString &) { return false; };
    const CommandBuilder builder(environment);
    const QString input = u"/in/clip.avi"_s;
    const StageCommand stage =
        builder.stageTwo(settings, input).value_or(builder.stageOne(settings, input));
    const QStringList arguments = stage.command.arguments();
    const ParsedRequest parsed =
        stage.encoder == Encoder::Conv
            ? ConvOptions::parse(arguments, [](const QString &) { return false; })
            : CoderOptions::parse(arguments);
    return parsed.ok() ? std::optional(parsed.request) : std::nullopt;
}

// 23.976 stands for 24000/1001 as the user would write it.
constexpr double SameValueTolerance = 0.0005;

// The request and container of the job's last stage for the settings.
struct LastStage
{
    EncodeRequest request;
    const Container *container = nullptr;
};

std::optional<LastStage> lastStage(const ConversionSettings &settings)
{
    const std::optional<EncodeRequest> request = lastStageRequest(settings);
    if (!request)
        return std::nullopt;
    const Container *container = Container::choose(request->container, request->output,
                                                   request->video.codec, request->audio.codec)
                                     .container;
    if (!container)
        return std::nullopt;
    return LastStage{*request, container};
}

using Move = ParameterRules::Move;

QString videoCodec(const LastStage &stage)
{
    return stage.request.video.codec.isEmpty() ? stage.container->defaultVideoCodec()
                                               : stage.request.video.codec;
}

QString audioCodec(const LastStage &stage)
{
    return stage.request.audio.codec.isEmpty() ? stage.container->defaultAudioCodec()
                                               : stage.request.audio.codec;
}

// Numbers are read as frame rates are, fractions included; an entry that
// leaves the value to the source moves nothing.
std::optional<Move> numberMove(const QString &text, const QString &codec,
                               const std::function<double(double)> &nearest)
{
    const std::optional<double> wanted = OptionValues::frameRate(text);
    if (!wanted)
        return std::nullopt;
    const double taken = nearest(*wanted);
    if (std::abs(taken - *wanted) < SameValueTolerance)
        return std::nullopt;
    return Move{QString::number(taken, 'g', 5), codec};
}

std::optional<Move> sizeMove(const QString &text, const LastStage &stage)
{
    const std::optional<QSize> wanted = OptionValues::frameSize(text);
    const VideoCodec *codec = VideoCodec::find(videoCodec(stage));
    if (!wanted || !codec)
        return std::nullopt;
    const QSize taken = codec->sizeFor(*wanted);
    if (taken == *wanted)
        return std::nullopt;
    return Move{u"%1x%2"_s.arg(taken.width()).arg(taken.height()), codec->name()};
}

std::optional<Move> frameRateMove(const QString &text, const LastStage &stage)
{
    const VideoCodec *codec = VideoCodec::find(videoCodec(stage));
    if (!codec)
        return std::nullopt;
    return numberMove(text, codec->name(),
                      [codec](double wanted) { return codec->frameRateFor(wanted).value(); });
}

std::optional<Move> sampleRateMove(const QString &text, const LastStage &stage)
{
    const AudioCodec *codec = AudioCodec::find(audioCodec(stage));
    if (!codec)
        return std::nullopt;
    const int lowest = stage.container->lowestSampleRate(codec->name());
    return numberMove(text, codec->name(), [codec, lowest](double wanted) {
        return codec->sampleRateFor(static_cast<int>(std::lround(wanted)), lowest);
    });
}

// A sound bitrate a codec takes may depend on the sample rate. Where the
// source's rate decides, the rates of 32 kHz and above that nearly every
// source has are assumed.
constexpr int UsualSampleRate = 44100;

std::optional<Move> bitrateMove(const QString &text, const LastStage &stage)
{
    const AudioCodec *codec = AudioCodec::find(audioCodec(stage));
    if (!codec)
        return std::nullopt;
    const int sampleRate =
        codec->sampleRateFor(stage.request.audio.sampleRate.value_or(UsualSampleRate),
                             stage.container->lowestSampleRate(codec->name()));
    return numberMove(text, codec->name(), [codec, sampleRate](double kilobits) {
        return codec->bitrateFor(std::llround(kilobits * 1000), sampleRate) / 1000.0;
    });
}

// The parameters whose values a codec may move to the nearest it takes.
struct MoveRule
{
    Parameter parameter;
    std::optional<Move> (*move)(const QString &text, const LastStage &stage);
};

const std::array MoveRules{
    MoveRule{Parameter::Size, &sizeMove},
    MoveRule{Parameter::FrameRate, &frameRateMove},
    MoveRule{Parameter::AudioRate, &sampleRateMove},
    MoveRule{Parameter::AudioBitrate, &bitrateMove},
};

// The value the request gives a parameter, as the parameter's text would.
std::optional<QString> requestedText(const EncodeRequest &request, Parameter parameter)
{
    const auto number = [](auto value) { return QString::number(value, 'g', 5); };
    const auto kilobits = [&number](std::optional<qint64> bits) {
        return bits ? std::optional(number(*bits / 1000.0)) : std::nullopt;
    };
    switch (parameter) {
    case Parameter::Size:
        if (!request.video.size)
            return std::nullopt;
        return u"%1x%2"_s.arg(request.video.size->width()).arg(request.video.size->height());
    case Parameter::VideoBitrate:
        return kilobits(request.video.bitsPerSecond);
    case Parameter::FrameRate:
        return request.video.frameRate ? std::optional(number(*request.video.frameRate))
                                       : std::nullopt;
    case Parameter::AudioRate:
        return request.audio.sampleRate ? std::optional(number(*request.audio.sampleRate))
                                        : std::nullopt;
    case Parameter::AudioBitrate:
        return request.audio.vbrQuality ? std::nullopt : kilobits(request.audio.bitsPerSecond);
    case Parameter::Channels:
        return request.audio.channels.value_or(0) > 0
                   ? std::optional(number(*request.audio.channels))
                   : std::nullopt;
    }
    return std::nullopt;
}

// The format's own value as its codec takes it.
QString fixedValue(const QString &text, Parameter parameter, const LastStage &stage)
{
    const auto rule =
        std::find_if(MoveRules.begin(), MoveRules.end(),
                     [parameter](const MoveRule &each) { return each.parameter == parameter; });
    const std::optional<Move> move =
        rule == MoveRules.end() ? std::nullopt : rule->move(text, stage);
    return move ? move->taken : text;
}

bool isPictureParameter(Parameter parameter)
{
    return parameter == Parameter::Size || parameter == Parameter::VideoBitrate ||
           parameter == Parameter::FrameRate;
}

} // namespace

std::optional<ParameterRules::Refusal>
ParameterRules::refusal(OutputFormat format, Parameter parameter, const QString &text)
{
    // Every format takes the size entry; the others only formats that leave
    // their option out for them, or that do not use the parameter at all.
    if (isSourceEntry(parameter, text)) {
        const Parameters usable =
            CommandBuilder::stageOneParameters(format) | CommandBuilder::stageTwoParameters(format);
        if (parameter == Parameter::Size || !usable.testFlag(parameter) ||
            CommandBuilder::optionalParameters(format).testFlag(parameter))
            return std::nullopt;
        return Refusal::SourceEntryRefused;
    }
    const ValueRule &rule = ruleFor(parameter);
    if (!rule.accepts || rule.accepts(text))
        return std::nullopt;
    return Refusal::NotAValue;
}

std::optional<ParameterRules::Move> ParameterRules::move(const ConversionSettings &settings,
                                                         Parameter parameter)
{
    const auto rule =
        std::find_if(MoveRules.begin(), MoveRules.end(),
                     [parameter](const MoveRule &each) { return each.parameter == parameter; });
    if (rule == MoveRules.end() || !CommandBuilder::usedParameters(settings).testFlag(parameter))
        return std::nullopt;
    const std::optional<LastStage> stage = lastStage(settings);
    return stage ? rule->move(settings.text(parameter).trimmed(), *stage) : std::nullopt;
}

QString ParameterRules::usedValue(const ConversionSettings &settings, Parameter parameter)
{
    const std::optional<Move> moved = move(settings, parameter);
    return moved ? moved->taken : QString();
}

std::optional<ParameterRules::Unused> ParameterRules::unused(const ConversionSettings &settings,
                                                             Parameter parameter)
{
    if (CommandBuilder::usedParameters(settings).testFlag(parameter))
        return std::nullopt;
    const bool atOtherSizes = (CommandBuilder::stageOneParameters(settings.format) |
                               CommandBuilder::stageTwoParameters(settings.format))
                                  .testFlag(parameter);
    const std::optional<LastStage> stage = lastStage(settings);
    if (stage && isPictureParameter(parameter) && !stage->request.video.enabled)
        return Unused{Unused::Kind::NoPicture, {}, atOtherSizes};
    if (const std::optional<QString> text =
            stage ? requestedText(stage->request, parameter) : std::nullopt)
        return Unused{Unused::Kind::Fixed, fixedValue(*text, parameter, *stage), atOtherSizes};
    if (parameter == Parameter::VideoBitrate || parameter == Parameter::AudioBitrate)
        return Unused{Unused::Kind::EncoderChoice, {}, atOtherSizes};
    return Unused{Unused::Kind::Source, {}, atOtherSizes};
}
