#include "settings/ConversionForm.h"

#include "engine/ConversionCombos.h"
#include "engine/OutputFormats.h"
#include "engine/ParameterRules.h"

ConversionForm::ConversionForm() : m_settings(ConversionSettings::startupDefaults())
{
    m_channel = ConversionCombos::entries(ConversionCombo::Channel).value(m_settings.channelIndex);
    settle();
}

int ConversionForm::count(ConversionCombo combo) const
{
    return static_cast<int>(ConversionCombos::entries(combo).size());
}

// An editable combo has an entry selected only while its value is one.
int ConversionForm::position(ConversionCombo combo) const
{
    const std::optional<Parameter> parameter = ConversionCombos::parameterOf(combo);
    if (!parameter)
        return OutputFormats::indexOf(m_settings.format);
    return static_cast<int>(ConversionCombos::entries(combo).indexOf(value(*parameter)));
}

void ConversionForm::setPosition(ConversionCombo combo, int newPosition)
{
    if (newPosition < 0 || newPosition >= count(combo))
        return;
    if (const std::optional<Parameter> parameter = ConversionCombos::parameterOf(combo))
        setValue(*parameter, ConversionCombos::entries(combo).at(newPosition));
    else if (newPosition != position(combo))
        selectFormat(*OutputFormats::fromIndex(newPosition));
}

void ConversionForm::selectFormat(OutputFormat format)
{
    m_settings.selectFormat(format);
    // The channel's text follows a default the format gave; a format
    // without one leaves the channel as it was, typed text included.
    setPosition(ConversionCombo::Channel, m_settings.channelIndex);
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
    for (const Parameter parameter : AllParameters) {
        if (const std::optional<ParameterRules::Move> moved =
                ParameterRules::move(m_settings, parameter))
            setValue(parameter, moved->taken);
    }
}
