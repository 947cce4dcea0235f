#include "engine/ConversionSettings.h"

#include "engine/ConversionCombos.h"
#include "engine/OutputFormats.h"

namespace {

template <typename T> void assignIfSet(T &target, const std::optional<T> &value)
{
    if (value)
        target = *value;
}

} // namespace

QString ConversionSettings::text(Parameter parameter) const
{
    switch (parameter) {
    case Parameter::Size:
        return size;
    case Parameter::VideoBitrate:
        return videoBitrate;
    case Parameter::FrameRate:
        return frameRate;
    case Parameter::AudioRate:
        return audioRate;
    case Parameter::AudioBitrate:
        return audioBitrate;
    case Parameter::Channels:
        return QString::number(channelCount());
    }
    return {};
}

void ConversionSettings::setText(Parameter parameter, const QString &text)
{
    switch (parameter) {
    case Parameter::Size:
        size = text;
        return;
    case Parameter::VideoBitrate:
        videoBitrate = text;
        return;
    case Parameter::FrameRate:
        frameRate = text;
        return;
    case Parameter::AudioRate:
        audioRate = text;
        return;
    case Parameter::AudioBitrate:
        audioBitrate = text;
        return;
    case Parameter::Channels:
        channelIndex = text.toInt() - 1;
        return;
    }
}

bool ConversionSettings::leftToSource(Parameter parameter) const
{
    switch (parameter) {
    case Parameter::Size:
        return size == SourceSize;
    case Parameter::VideoBitrate:
        return videoBitrate == QualityBitrate;
    case Parameter::FrameRate:
        return frameRate == SourceFrameRate;
    case Parameter::AudioRate:
    case Parameter::AudioBitrate:
    case Parameter::Channels:
        return false;
    }
    return false;
}

void ConversionSettings::selectFormat(OutputFormat newFormat)
{
    format = newFormat;
    const FormatDefaults &defaults = OutputFormats::of(newFormat).defaults;
    assignIfSet(videoBitrate, defaults.videoBitrate);
    assignIfSet(frameRate, defaults.frameRate);
    assignIfSet(size, defaults.size);
    assignIfSet(audioRate, defaults.audioRate);
    assignIfSet(audioBitrate, defaults.audioBitrate);
    assignIfSet(channelIndex, defaults.channelIndex);
}

ConversionSettings ConversionSettings::startupDefaults()
{
    ConversionSettings settings;
    settings.audioBitrate =
        ConversionCombos::entries(ConversionCombo::AudioBitrate).at(StartupAudioBitratePosition);
    settings.audioRate =
        ConversionCombos::entries(ConversionCombo::AudioRate).at(StartupAudioRatePosition);
    settings.channelIndex = StartupChannelPosition;
    settings.selectFormat(OutputFormat::Rmvb);
    return settings;
}
