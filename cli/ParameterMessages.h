#pragma once

#include "ConversionSettings.h"
#include "Parameter.h"

#include <QString>
#include <QStringList>

// What zenvora-cli tells of the parameters it is given, in the words of its
// own options, from what the parameter rules find.
namespace ParameterMessages {

// Why the text is no value for the parameter in the format; empty when it
// is one.
QString problem(OutputFormat format, Parameter parameter, const QString &text);
// A line for each given parameter the settings' format does not use, and
// for each given value its codec will move to another.
QStringList warnings(const ConversionSettings &settings, Parameters given);

} // namespace ParameterMessages
