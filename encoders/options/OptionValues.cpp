#include "encoders/options/OptionValues.h"

#include <QRegularExpression>

#include <cmath>

using namespace Qt::StringLiterals;

std::optional<double> OptionValues::decimal(const QString &text)
{
    static const QRegularExpression pattern(u"^(\\d+(\\.\\d*)?|\\.\\d+)$"_s);
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    return text.toDouble();
}

std::optional<int> OptionValues::wholeNumber(const QString &text)
{
    static const QRegularExpression pattern(u"^\\d{1,9}$"_s);
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    return text.toInt();
}

std::optional<double> OptionValues::seconds(const QString &text)
{
    static const QRegularExpression pattern(
        u"^(?:(?:(\\d+):)?(\\d+):)?(\\d+(?:\\.\\d*)?|\\.\\d+)$"_s);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toDouble() * 3600 + match.captured(2).toDouble() * 60 +
           match.captured(3).toDouble();
}

std::optional<qint64> OptionValues::ffmpegBitrate(const QString &text)
{
    static const QRegularExpression pattern(u"^(\\d+(?:\\.\\d*)?|\\.\\d+)([kKM]?)$"_s);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const double value = match.captured(1).toDouble();
    const QString suffix = match.captured(2);
    double factor = 1.0;
    if (suffix == u"M")
        factor = 1e6;
    else if (!suffix.isEmpty() || value < 10000.0)
        factor = 1e3;
    const double bits = std::round(value * factor);
    if (bits < 1.0 || bits > 1e9)
        return std::nullopt;
    return static_cast<qint64>(bits);
}

std::optional<QSize> OptionValues::frameSize(const QString &text)
{
    static const QRegularExpression pattern(u"^(\\d{1,5})[xX](\\d{1,5})$"_s);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    const auto inRange = [](int side) { return side >= 1 && side <= MaxSide; };
    if (!inRange(size.width()) || !inRange(size.height()))
        return std::nullopt;
    return size;
}

std::optional<double> OptionValues::frameRate(const QString &text)
{
    const qsizetype slash = text.indexOf(u'/');
    std::optional<double> rate;
    if (slash < 0) {
        rate = decimal(text);
    } else {
        const std::optional<int> numerator = wholeNumber(text.left(slash));
        const std::optional<int> denominator = wholeNumber(text.mid(slash + 1));
        if (numerator && denominator && *denominator > 0)
            rate = static_cast<double>(*numerator) / *denominator;
    }
    if (!rate || *rate <= 0.0)
        return std::nullopt;
    return rate;
}
