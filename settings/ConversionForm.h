#pragma once

#include "engine/ConversionSettings.h"
#include "engine/Parameter.h"
#include "settings/SetupControls.h"

// The main window's choices as a value: the format, its parameters and the
// output folder, as the user left them. The window shows it and setup.ini
// keeps its positions; neither holds the state itself.
class ConversionForm final : public SetupControls
{
public:
    // As the window first shows it: the sound lists at their start entries,
    // then the first format chosen, as choosing it by hand does.
    ConversionForm();

    int count(ConversionCombo combo) const override;
    int position(ConversionCombo combo) const override;
    // A different format brings its defaults, as choosing it by hand does.
    void setPosition(ConversionCombo combo, int position) override;
    QString outputFolder() const override { return m_settings.outputFolder; }
    void setOutputFolder(const QString &folder) override { m_settings.outputFolder = folder; }

    OutputFormat format() const { return m_settings.format; }
    // The format's defaults over the parameters it has them for, settled.
    void selectFormat(OutputFormat format);
    // The parameter's value as typed or picked.
    QString value(Parameter parameter) const;
    void setValue(Parameter parameter, const QString &value);
    // A value the format's codec would move becomes the one the output
    // will have. The sound rate goes before the sound bitrate, which may
    // depend on it.
    void settle();

    const ConversionSettings &settings() const { return m_settings; }

private:
    ConversionSettings m_settings;
    QString m_channel; // as typed: a text that is no entry selects none
};
