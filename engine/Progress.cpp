#include "Progress.h"

#include "TextNumber.h"

QString Progress::percentDigits() const
{
    const QString digits = TextNumber::write(percent.value_or(0));
    return style == Runner::Coders ? digits.left(4) : digits;
}

double Progress::shownPercent() const
{
    return TextNumber::read(percentDigits());
}
