#include "engine/ParameterRules.h"

#include "encoders/options/CoderOptions.h"
#include "encoders/options/ConvOptions.h"
#include "encoders/options/OptionValues.h"
#include "encoders/plan/AudioCodec.h"
#include "encoders/plan/Container.h"
#include "encoders/plan/VideoCodec.h"
#include "engine/CommandBuilder.h"

#include <cmath>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// The form each parameter's value must have, as the encoders take it.
// Bitrates are given in kbit/s: "-ab 12.2k" as the coders get them. The
// channels are read as mono or stereo where the command line is parsed.
bool isValue(Parameter parameter, const QString &text)
{
    const QString value = text.trimmed();
    switch (parameter) {
    case Parameter::Size:
        return OptionValues::frameSize(value).has_value();
    case Parameter::VideoBitrate:
    case Parameter::AudioBitrate:
        return OptionValues::ffmpegBitrate(value + u'k').has_value();
    case Parameter::FrameRate:
        return OptionValues::frameRate(value).has_value();
    case Parameter::AudioRate:
        return OptionValues::wholeNumber(value).value_or(0) > 0;
    case Parameter::Channels:
        break;
    }
    return true;
}

// The entries that leave a value to the source, in their exact text.
bool isSourceEntry(Parameter parameter, const QString &text)
{
    ConversionSettings settings;
    settings.setText(parameter, text);
    return settings.leftToSource(parameter);
}

// 23.976 stands for 24000/1001 as the user would write it.
constexpr double SameValueTolerance = 0.0005;

// The request and container of the job's last stage for the settings: what
// its encoder makes of the command the format's row builds, as the encoders
// read it; nothing when they read no request or no container from it.
struct LastStage
{
    EncodeRequest request;
    const Container *container = nullptr;
};

std::optional<LastStage> lastStage(const ConversionSettings &settings)
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
    if (!parsed.ok())
        return std::nullopt;
    const EncodeRequest &request = parsed.request;
    const Container *container = Container::choose(request.container, request.output,
                                                   request.video.codec, request.audio.codec)
                                     .container;
    if (!container)
        return std::nullopt;
    return LastStage{request, container};
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

// What the stage's codec makes of a value: sizes, frame rates, sample
// rates and sound bitrates may move to the nearest it takes.
std::optional<Move> moveOf(Parameter parameter, const QString &text, const LastStage &stage)
{
    switch (parameter) {
    case Parameter::Size:
        return sizeMove(text, stage);
    case Parameter::FrameRate:
        return frameRateMove(text, stage);
    case Parameter::AudioRate:
        return sampleRateMove(text, stage);
    case Parameter::AudioBitrate:
        return bitrateMove(text, stage);
    case Parameter::VideoBitrate:
    case Parameter::Channels:
        break;
    }
    return std::nullopt;
}

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
    const std::optional<Move> move = moveOf(parameter, text, stage);
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
    return isValue(parameter, text) ? std::nullopt : std::optional(Refusal::NotAValue);
}

std::optional<ParameterRules::Move> ParameterRules::move(const ConversionSettings &settings,
                                                         Parameter parameter)
{
    if (!CommandBuilder::usedParameters(settings).testFlag(parameter))
        return std::nullopt;
    const std::optional<LastStage> stage = lastStage(settings);
    return stage ? moveOf(parameter, settings.text(parameter).trimmed(), *stage) : std::nullopt;
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
