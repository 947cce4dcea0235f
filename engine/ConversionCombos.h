#pragma once

#include "engine/Parameter.h"

#include <QString>
#include <QStringList>

// The seven combos of the main window that make up the conversion settings.
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
    static constexpr int Count = 7;

    static QStringList entries(ConversionCombo combo);
    // The combo that sets a parameter.
    static ConversionCombo of(Parameter parameter);
};
