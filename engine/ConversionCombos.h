#pragma once

#include "engine/Parameter.h"

#include <QString>
#include <QStringList>

#include <optional>

// The seven combos of the main window that make up the conversion settings:
// the format's, then one for each parameter in the order of AllParameters.
enum class ConversionCombo
{
    Format,
    Size,
    VideoBitrate,
    FrameRate,
    AudioRate,
    AudioBitrate,
    Channel
};

// What each combo offers, in order. The parameter combos are editable; their
// entries are only suggestions. The entries are values, as settings and
// command lines take them; ComboTexts shows them.
class ConversionCombos final
{
public:
    static constexpr int Count = 1 + static_cast<int>(AllParameters.size());

    static QStringList entries(ConversionCombo combo);
    // The combo that sets a parameter.
    static ConversionCombo of(Parameter parameter);
    // The parameter a combo sets; nothing for the format's.
    static std::optional<Parameter> parameterOf(ConversionCombo combo);
};
