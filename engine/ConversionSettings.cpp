#include "engine/ConversionSettings.h"

#include "engine/ConversionCombos.h"
#include "engine/FormatDefaults.h"
#include "engine/OutputFormats.h"

#include <algorithm>
#include <iterator>

namespace {

template <typename T> void assignIfSet(T &target, const std::optional<T> &value)
{
    if (value)
        target = *value;
}

// Where each parameter given as text is held, in the settings and in a
// format's defaults, and its entry that leaves the value to the source or
// to a quality target. The channel is held as its entry's position.
struct TextField
{
    Parameter parameter;
    QString ConversionSettings::*value;
    std::optional<QString> FormatDefaults::*formatDefault;
    QStringView sourceEntry;
};

constexpr TextField TextFields[] = {
    {Parameter::Size, &ConversionSettings::size, &FormatDefaults::size,
     ConversionSettings::SourceSize},
    {Parameter::VideoBitrate, &ConversionSettings::videoBitrate, &FormatDefaults::videoBitrate,
     ConversionSettings::QualityBitrate},
    {Parameter::FrameRate, &ConversionSettings::frameRate, &FormatDefaults::frameRate,
     ConversionSettings::SourceFrameRate},
    {Parameter::AudioRate, &ConversionSettings::audioRate, &FormatDefaults::audioRate, {}},
    {Parameter::AudioBitrate, &ConversionSettings::audioBitrate, &FormatDefaults::audioBitrate, {}},
};

const TextField *textField(Parameter parameter)
{
    const auto *field = std::ranges::find(TextFields, parameter, &TextField::parameter);
    return field == std::end(TextFields) ? nullptr : field;
}

} // namespace

QString ConversionSettings::text(Parameter parameter) const
{
    const TextField *field = textField(parameter);
    return field ? this->*(field->value) : QString::number(channelCount());
}

void ConversionSettings::setText(Parameter parameter, const QString &text)
{
    if (const TextField *field = textField(parameter))
        this->*(field->value) = text;
    else
        channelIndex = text.toInt() - 1;
}

bool ConversionSettings::leftToSource(Parameter parameter) const
{
    const TextField *field = textField(parameter);
    return field && !field->sourceEntry.isEmpty() && this->*(field->value) == field->sourceEntry;
}

void ConversionSettings::selectFormat(OutputFormat newFormat)
{
    format = newFormat;
    const FormatDefaults &defaults = OutputFormats::of(newFormat).defaults;
    for (const TextField &field : TextFields)
        assignIfSet(this->*(field.value), defaults.*(field.formatDefault));
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
