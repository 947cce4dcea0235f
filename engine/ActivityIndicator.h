#pragma once

#include <cstddef>

// How many chunks of encoder output have come: the turns of the spinner in
// the progress caption. Both progress parsers share one and it is never
// reset, so it keeps turning across stages and jobs.
struct ActivityIndicator
{
    std::size_t turns = 0;
};
