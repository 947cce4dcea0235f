#include "settings/ConversionForm.h"

#include "engine/ConversionCombos.h"
#include "engine/OutputFormats.h"
#include "engine/ParameterRules.h"

namespace {

Parameter parameterOf(SetupControls::List list)
{
    switch (list) {
    case SetupControls::List::AudioBitrate:
        return Parameter::AudioBitrate;
    case SetupControls::List::AudioRate:
        return Parameter::AudioRate;
    case SetupControls::List::Channel:
    case SetupControls::List::Format:
        break;
    }
    return Parameter::Channels;
}

QStringList entriesOf(Parameter parameter)
{
    return ConversionCombos::entries(ConversionCombos::of(parameter));
}

constexpr Parameter SettlingOrder[] = {Parameter::Size,         Parameter::VideoBitrate,
                                       Parameter::FrameRate,    Parameter::AudioRate,
                                       Parameter::AudioBitrate, Parameter::Channels};

} // namespace

ConversionForm::ConversionForm() : m_settings(ConversionSettings::startupDefaults())
{
    m_channel = entriesOf(Parameter::Channels).value(m_settings.channelIndex);
    settle();
}

int ConversionForm::count(List list) const
{
    return list == List::Format ? OutputFormats::Count
                                : static_cast<int>(entriesOf(parameterOf(list)).size());
}

// An editable list has an entry selected only while its value is one.
int ConversionForm::position(List list) const
{
    if (list == List::Format)
        return OutputFormats::indexOf(m_settings.format);
    const Parameter parameter = parameterOf(list);
    return static_cast<int>(entriesOf(parameter).indexOf(value(parameter)));
}

void ConversionForm::setPosition(List list, int newPosition)
{
    if (newPosition < 0 || newPosition >= count(list))
        return;
    if (list != List::Format)
        setValue(parameterOf(list), entriesOf(parameterOf(list)).at(newPosition));
    else if (newPosition != position(List::Format))
        selectFormat(*OutputFormats::fromIndex(newPosition));
}

void ConversionForm::selectFormat(OutputFormat format)
{
    m_settings.selectFormat(format);
    // The channel's text follows a default the format gave; a format
    // without one leaves the channel as it was, typed text included.
    setPosition(List::Channel, m_settings.channelIndex);
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
    m_settings.channelIndex = static_cast<int>(entriesOf(Parameter::Channels).indexOf(value));
}

void ConversionForm::settle()
{
    for (const Parameter parameter : SettlingOrder) {
        if (const std::optional<ParameterRules::Move> moved =
                ParameterRules::move(m_settings, parameter))
            setValue(parameter, moved->taken);
    }
}
