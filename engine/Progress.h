#pragma once

#include "encoders/protocol/EncoderStyle.h"
#include "engine/TextNumber.h"

#include <QString>

#include <cstddef>
#include <optional>

// How far an encoder run is, as its progress lines tell it after a chunk of
// output; worded where it is shown (ProgressText).
struct Progress
{
    // Whose lines: conv.exe tells a percentage, the coders a time of a length.
    EncoderStyle style = EncoderStyle::Conv;
    // 0 to 100; none while the length is unknown and only the time converted
    // so far shows that the encoder is working.
    std::optional<double> percent{};
    // The encoder said the file is done: conv.exe's "(100%)", or a coder's
    // time that reached the length.
    bool finished = false;
    // The coders' time converted so far and the source's length they told,
    // in whole seconds; the length is 0 while unknown.
    double elapsedSeconds = 0;
    double durationSeconds = 0;
    std::size_t activity = 0; // the activity indicator's turns so far
    // The job's stage the progress belongs to, from 1, and how many it has.
    int stage = 1;
    int stages = 1;

    // The percentage's digits as the display writes them: the coders' are
    // cut to four characters ("9.52", "10.0").
    QString percentDigits() const
    {
        const QString digits = TextNumber::write(percent.value_or(0));
        return style == EncoderStyle::Coder ? digits.left(4) : digits;
    }
    // The value the bar shows: those digits read back; 0 without a percentage.
    double shownPercent() const { return TextNumber::read(percentDigits()); }
};
