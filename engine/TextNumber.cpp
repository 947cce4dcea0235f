#include "engine/TextNumber.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

using namespace Qt::StringLiterals;

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

qsizetype skipBlanks(QStringView text, qsizetype from)
{
    while (from < text.size() && isBlank(text.at(from)))
        ++from;
    return from;
}

struct LeadingNumber
{
    std::optional<double> value; // nothing when no digit was seen
    qsizetype end = 0;           // where the number stopped
};

// from_chars leaves the value at 0 when it does not fit; a number too large
// must not read as 0, or a huge settings value would pick the first entry.
double outOfRangeValue(const std::string &ascii)
{
    const bool negative = ascii.starts_with('-');
    const std::string whole = ascii.substr(0, ascii.find('.'));
    const bool huge = whole.find_first_not_of("-0") != std::string::npos;
    const double magnitude = huge ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -magnitude : magnitude;
}

LeadingNumber scanNumber(QStringView text)
{
    qsizetype i = skipBlanks(text, 0);
    // std::from_chars knows no "+" and, unlike strtod, ignores the locale.
    std::string ascii;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        if (text.at(i) == u'-')
            ascii += '-';
        ++i;
    }
    bool sawDigit = false;
    bool sawPoint = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isDigit(c))
            sawDigit = true;
        else if (c == u'.' && !sawPoint)
            sawPoint = true;
        else
            break;
        ascii += static_cast<char>(c.unicode());
    }
    if (!sawDigit)
        return {std::nullopt, i};
    double value = 0;
    const auto [end, error] =
        std::from_chars(ascii.data(), ascii.data() + ascii.size(), value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range)
        value = outOfRangeValue(ascii);
    return {value, i};
}

} // namespace

double TextNumber::read(QStringView text)
{
    return scanNumber(text).value.value_or(0.0);
}

std::optional<double> TextNumber::parse(QStringView text)
{
    const LeadingNumber number = scanNumber(text);
    if (skipBlanks(text, number.end) != text.size())
        return std::nullopt;
    return number.value;
}

QString TextNumber::write(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == 0)
        return u"0"_s;
    // Rounded to 15 significant digits in scientific form ("-d.ddde+XX"),
    // then spelled out in plain notation.
    const QString scientific = QString::number(std::abs(value), 'e', SignificantDigits - 1);
    const qsizetype e = scientific.indexOf(u'e');
    const int exponent = scientific.sliced(e + 1).toInt();
    QString digits = scientific.first(e);
    digits.remove(u'.');
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);

    QString plain;
    if (exponent < 0) {
        plain = u"0."_s + QString(-exponent - 1, u'0') + digits;
    } else {
        const qsizetype integerDigits = exponent + 1;
        if (digits.size() <= integerDigits)
            plain = digits + QString(integerDigits - digits.size(), u'0');
        else
            plain = digits.first(integerDigits) + u'.' + digits.sliced(integerDigits);
    }
    return value < 0 ? u'-' + plain : plain;
}

double TextNumber::roundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction < 0.5)
        return lower;
    if (fraction > 0.5)
        return lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}
