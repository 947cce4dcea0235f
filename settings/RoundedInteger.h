#pragma once

#include "engine/TextNumber.h"

#include <limits>
#include <optional>

// A value rounded half to even into a field of type T, or nothing when it
// does not fit: the settings never wrap a value into a narrower field.
template <typename T> std::optional<T> roundedInteger(double value)
{
    const double rounded = TextNumber::roundHalfEven(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<T>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<T>::max())))
        return std::nullopt;
    return static_cast<T>(rounded);
}
