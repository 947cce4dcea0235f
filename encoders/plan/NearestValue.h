#pragma once

#include <QList>

#include <cmath>

// The entry of a list closest to a wanted value; on a tie the larger one,
// which keeps more of the quality that was asked for.
namespace NearestValue {

template <typename T, typename V> T in(const QList<T> &choices, V wanted)
{
    T best = choices.first();
    for (const T choice : choices) {
        const double distance = std::abs(static_cast<double>(choice) - wanted);
        const double bestDistance = std::abs(static_cast<double>(best) - wanted);
        if (distance < bestDistance || (distance == bestDistance && choice > best))
            best = choice;
    }
    return best;
}

} // namespace NearestValue
