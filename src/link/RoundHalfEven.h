#pragma once

#include <cmath>

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2,
// 3.5 -> 4): the rounding the device link's counters have always used.
inline int roundHalfEven(double value)
{
    const double down = std::floor(value);
    const double diff = value - down;
    if (diff > 0.5)
        return int(down) + 1;
    if (diff < 0.5)
        return int(down);
    return (std::fmod(down, 2.0) == 0.0) ? int(down) : int(down) + 1;
}
