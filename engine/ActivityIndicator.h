#pragma once

#include <cstddef>

// How many chunks of encoder output have come, which turns the spinner of
// the progress caption. Both progress parsers share one and it is never
// reset, so it keeps turning across stages and jobs.
class ActivityIndicator final
{
public:
    std::size_t turns() const { return m_turns; }
    void advance() { ++m_turns; }

private:
    std::size_t m_turns = 0;
};
