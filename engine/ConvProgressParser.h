#pragma once

#include "engine/Progress.h"

#include <QString>
#include <QStringView>

#include <optional>

struct ActivityIndicator;

// Reads conv.exe output, which reports its progress as a percentage in
// parentheses: "( 7%)", "(42%)", "(100%)". The first group of three or four
// characters in parentheses counts, whatever it holds.
class ConvProgressParser final
{
public:
    explicit ConvProgressParser(ActivityIndicator &indicator);

    // Advances the indicator; nothing when the chunk holds no group and the
    // display stays as it was. A group cut off at the end of the chunk is
    // kept and read together with the next chunk.
    std::optional<Progress> feed(QStringView chunk);

    // Forgets a group cut off at the end of the last run's output.
    void reset() { m_tail.clear(); }

private:
    Progress progressFor(QStringView group) const;

    ActivityIndicator &m_indicator;
    QString m_tail;
};
