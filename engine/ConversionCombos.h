#pragma once

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

// What each combo offers: its object name, its entries in order and its
// hover text. The parameter combos are editable; their entries are only
// suggestions.
class ConversionCombos final
{
public:
    static constexpr int Count = 7;

    static QString objectName(ConversionCombo combo);
    static QStringList entries(ConversionCombo combo);
    static QString hoverText(ConversionCombo combo);
};
