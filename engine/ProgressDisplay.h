#pragma once

#include <QString>

// What the progress display shows after a chunk of encoder output: the bar
// image's width (0 empty, 5415 full), the progress bar's value (0 to 100)
// and the caption beside it.
struct ProgressDisplay
{
    static constexpr float FullWidth = 5415;

    float barWidth = 0;
    double value = 0;
    QString caption;

    double barFraction() const { return barWidth / FullWidth; }
};
