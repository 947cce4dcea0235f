#pragma once

#include "engine/ConversionCombos.h"

#include <QString>
#include <QStringList>

// How the window shows its conversion combos: each one's object name, its
// entries in the user's language, and its hover text.
class ComboTexts final
{
public:
    static QString objectName(ConversionCombo combo);
    // The entries as the combo shows them.
    static QStringList shownEntries(ConversionCombo combo);
    // An entry's value as it is shown; numbers and typed values stay as
    // they are.
    static QString shownText(const QString &value);
    // The value of what a combo shows: the reverse of shownText.
    static QString valueOf(const QString &shown);
    static QString hoverText(ConversionCombo combo);
};
