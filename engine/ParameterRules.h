#pragma once

#include "ConversionSettings.h"
#include "Parameter.h"

#include <QString>
#include <QStringList>

#include <optional>

// What becomes of the encoding parameters a user gives: the form each value
// must have (the one the encoders take, kept as a table), and whether the
// codec that takes a value moves it to the nearest it can take, found as the
// encoders find it, from the command the format's row builds.
class ParameterRules final
{
public:
    // What the output has for a parameter its format does not use.
    struct Unused
    {
        enum class Kind
        {
            Fixed,         // the format's own value, in value
            Source,        // the source's value
            EncoderChoice, // a bitrate the encoder picks for the quality
            NoPicture      // a picture parameter of a format without one
        };
        Kind kind = Kind::Source;
        // As the parameter's text would give it: channels as 1 or 2.
        QString value;
    };

    // Why the text is no value for the parameter in the format; empty when
    // it is one.
    static QString problem(OutputFormat format, Parameter parameter, const QString &text);
    // A line for each given parameter the settings' format does not use, and
    // for each given value its codec will move to another.
    static QStringList warnings(const ConversionSettings &settings, Parameters given);
    // The value the codec will use instead of the settings' text for the
    // parameter; empty when it uses the text as it is, or not at all.
    static QString usedValue(const ConversionSettings &settings, Parameter parameter);
    // Nothing when the settings' format uses the parameter.
    static std::optional<Unused> unused(const ConversionSettings &settings, Parameter parameter);
};
