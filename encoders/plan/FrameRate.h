#pragma once

#include <QString>

// A frame rate as the fraction ffmpeg is given, so that NTSC-style rates
// stay exact (30000/1001, not 29.97).
class FrameRate final
{
public:
    constexpr FrameRate(int numerator, int denominator) : m_num(numerator), m_den(denominator) {}

    // Whole rates become N/1, rates just below one (29.97, 23.976) the
    // matching N*1000/1001, anything else thousandths.
    static FrameRate fromDecimal(double rate);

    double value() const { return static_cast<double>(m_num) / m_den; }
    QString toString() const;

private:
    int m_num;
    int m_den;
};
