#pragma once

#include <QString>

// What the progress display shows after a chunk of encoder output: the
// progress bar's value (0 to 100) and the caption beside it.
struct ProgressDisplay
{
    double value = 0;
    QString caption;
    // The caption's first word, what the encoder is doing ("转换中"), without
    // the spinner that follows it: what a log line shows.
    QString state{};
    // No telling how far the encoder is: the bar shows activity, not a value.
    bool busy = false;
    // The job's stage the value belongs to, from 1, and how many it has.
    int stage = 1;
    int stages = 1;
    // The source's length in seconds as its encoder told it; 0 while unknown.
    double duration = 0;
};
