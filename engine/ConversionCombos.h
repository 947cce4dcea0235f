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
// suggestions. The entries are values, as settings and command lines take
// them; the ones that are words are shown translated.
class ConversionCombos final
{
public:
    static constexpr int Count = 7;

    static QString objectName(ConversionCombo combo);
    static QStringList entries(ConversionCombo combo);
    // The entries as the combo shows them.
    static QStringList shownEntries(ConversionCombo combo);
    // An entry's value as it is shown; numbers and typed values stay as
    // they are.
    static QString shownText(const QString &value);
    // The value of what a combo shows: the reverse of shownText.
    static QString valueOf(const QString &shown);
    static QString hoverText(ConversionCombo combo);
};
