#pragma once

#include "ConversionSettings.h"
#include "Parameter.h"

#include <QString>
#include <QStringList>

// What zenvora-cli makes of the encoding parameters it is given, kept as
// tables: the form each value must have (the one the encoders take), and
// the codec of each format that moves a value to the nearest it can take.
class ParameterRules final
{
public:
    // Why the text is no value for the parameter in the format; empty when
    // it is one.
    static QString problem(OutputFormat format, Parameter parameter, const QString &text);
    // A line for each given parameter the settings' format does not use, and
    // for each given value its codec will move to another.
    static QStringList warnings(const ConversionSettings &settings, Parameters given);
};
