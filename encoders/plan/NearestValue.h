#pragma once

#include <QList>

#include <cmath>
#include <functional>

// The entry of a list closest to a wanted value; on a tie the larger one,
// which keeps more of the quality that was asked for.
namespace NearestValue {

template <typename T, typename V, typename Value = std::identity>
T in(const QList<T> &choices, V wanted, Value valueOf = {})
{
    const auto distance = [&](const T &choice) {
        return std::abs(static_cast<double>(std::invoke(valueOf, choice)) - wanted);
    };
    T best = choices.first();
    for (const T &choice : choices) {
        if (distance(choice) < distance(best) ||
            (distance(choice) == distance(best) &&
             std::invoke(valueOf, choice) > std::invoke(valueOf, best)))
            best = choice;
    }
    return best;
}

} // namespace NearestValue
