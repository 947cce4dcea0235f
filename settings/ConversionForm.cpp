#include "ConversionForm.h"

#include "ConversionCombos.h"
#include "OutputFormats.h"
#include "ParameterRules.h"

namespace {

ConversionCombo comboOf(SetupControls::List list)
{
    switch (list) {
    case SetupControls::List::AudioBitrate:
        return ConversionCombo::AudioBitrate;
    case SetupControls::List::AudioRate:
        return ConversionCombo::AudioRate;
    case SetupControls::List::Channel:
        return ConversionCombo::Channel;
    case SetupControls::List::Format:
        break;
    }
    return ConversionCombo::Format;
}

constexpr Parameter SettlingOrder[] = {Parameter::Size,         Parameter::VideoBitrate,
                                       Parameter::FrameRate,    Parameter::AudioRate,
                                       Parameter::AudioBitrate, Parameter::Channels};

} // namespace

ConversionForm::ConversionForm()
{
    // An editable list starts at its first entry until a start position or
    // a format's default replaces it.
    m_settings.size = ConversionCombos::entries(ConversionCombo::Size).value(0);
    m_settings.videoBitrate = ConversionCombos::entries(ConversionCombo::VideoBitrate).value(0);
    m_settings.frameRate = ConversionCombos::entries(ConversionCombo::FrameRate).value(0);
    m_settings.audioBitrate = ConversionCombos::entries(ConversionCombo::AudioBitrate)
                                  .value(ConversionSettings::StartupAudioBitratePosition);
    m_settings.audioRate = ConversionCombos::entries(ConversionCombo::AudioRate)
                               .value(ConversionSettings::StartupAudioRatePosition);
    setPosition(List::Channel, ConversionSettings::StartupChannelPosition);
    selectFormat(OutputFormat::Rmvb);
}

int ConversionForm::count(List list) const
{
    return list == List::Format ? OutputFormats::Count
                                : static_cast<int>(ConversionCombos::entries(comboOf(list)).size());
}

// An editable list has an entry selected only while its value is one.
int ConversionForm::position(List list) const
{
    switch (list) {
    case List::Format:
        return OutputFormats::indexOf(m_settings.format);
    case List::Channel:
        return m_settings.channelIndex;
    case List::AudioBitrate:
        return static_cast<int>(
            ConversionCombos::entries(comboOf(list)).indexOf(m_settings.audioBitrate));
    case List::AudioRate:
        return static_cast<int>(
            ConversionCombos::entries(comboOf(list)).indexOf(m_settings.audioRate));
    }
    return -1;
}

void ConversionForm::setPosition(List list, int newPosition)
{
    if (newPosition < 0 || newPosition >= count(list))
        return;
    if (list == List::Format) {
        if (newPosition != position(List::Format))
            selectFormat(*OutputFormats::fromIndex(newPosition));
        return;
    }
    const Parameter parameter = list == List::AudioBitrate ? Parameter::AudioBitrate
                                : list == List::AudioRate  ? Parameter::AudioRate
                                                           : Parameter::Channels;
    setValue(parameter, ConversionCombos::entries(comboOf(list)).at(newPosition));
}

// A format's channel default that is no entry of the list leaves the
// channel as it was.
void ConversionForm::selectFormat(OutputFormat format)
{
    const int channel = std::exchange(m_settings.channelIndex, -1);
    m_settings.selectFormat(format);
    const int defaultChannel = std::exchange(m_settings.channelIndex, channel);
    if (defaultChannel != channel)
        setPosition(List::Channel, defaultChannel);
    settle();
}

QString ConversionForm::value(Parameter parameter) const
{
    return parameter == Parameter::Channels ? m_channel : m_settings.text(parameter);
}

void ConversionForm::setValue(Parameter parameter, const QString &value)
{
    if (parameter != Parameter::Channels) {
        m_settings.setText(parameter, value);
        return;
    }
    m_channel = value;
    m_settings.channelIndex =
        static_cast<int>(ConversionCombos::entries(ConversionCombo::Channel).indexOf(value));
}

void ConversionForm::settle()
{
    for (const Parameter parameter : SettlingOrder) {
        if (const std::optional<ParameterRules::Move> moved =
                ParameterRules::move(m_settings, parameter))
            setValue(parameter, moved->taken);
    }
}
