#pragma once

#include "engine/Progress.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

struct ActivityIndicator;

// Reads coder.exe and coder2.exe output, which announces the input's length
// once ("Duration: 00:02:05.50,") and then the time encoded so far
// ("time=12.00" or "time=00:00:12.00"); the percentage is one over the other.
class CoderProgressParser final
{
public:
    explicit CoderProgressParser(ActivityIndicator &indicator);

    // Advances the indicator and takes the duration from the chunk while it
    // is unknown; nothing when the chunk holds no complete time and the
    // display stays as it was. A token cut off at the end of the chunk is
    // kept and read together with the next chunk.
    std::optional<Progress> feed(QStringView chunk);

    // A job has finished: the duration is unknown again and nothing of the
    // last run's output is kept.
    void reset();

    // An unfinished token longer than this is no time or duration; dropping
    // it keeps memory bounded when an encoder writes text without blanks.
    static constexpr qsizetype LongestKeptToken = 256;

private:
    void takeDuration(const QList<QStringView> &values);
    Progress progressFor(double elapsed) const;

    ActivityIndicator &m_indicator;
    QString m_tail;
    double m_duration = 0;
};
