#include "encoders/plan/FrameRate.h"

#include <cmath>
#include <numeric>

namespace {
constexpr double Tolerance = 0.0005;
}

FrameRate FrameRate::fromDecimal(double rate)
{
    const double whole = std::round(rate);
    if (std::abs(rate - whole) < Tolerance)
        return {static_cast<int>(whole), 1};
    const double ntscBase = std::round(rate * 1.001);
    if (std::abs(rate - ntscBase * 1000.0 / 1001.0) < Tolerance)
        return {static_cast<int>(ntscBase) * 1000, 1001};
    const int thousandths = static_cast<int>(std::round(rate * 1000.0));
    const int divisor = std::gcd(thousandths, 1000);
    return {thousandths / divisor, 1000 / divisor};
}

QString FrameRate::toString() const
{
    return QString::number(m_num) + u'/' + QString::number(m_den);
}
