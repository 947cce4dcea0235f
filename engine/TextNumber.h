#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The one place where encoder output and settings texts become numbers and
// numbers become display texts, so every caller rounds and formats alike.
class TextNumber final
{
public:
    // The leading number of a text: blanks skipped, an optional sign, digits
    // with at most one decimal point; 0 when there are no digits.
    static double read(QStringView text);

    // The whole text as such a number (blanks around it allowed); nothing
    // when anything else is left over or there are no digits.
    static std::optional<double> parse(QStringView text);

    // At most 15 significant digits in plain notation, no trailing zeros and
    // no trailing point: 0.07 gives "0.07", 28.999999999999996 gives "29".
    static QString write(double value);

    // To the nearest whole number, halves to the even neighbour.
    static double roundHalfEven(double value);

    static constexpr int SignificantDigits = 15;
};
