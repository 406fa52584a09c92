#include "MeterReading.h"

#include "RoundHalfEven.h"

#include <algorithm>

int MeterReading::progress() const
{
    if (value <= 0 || max <= 0)
        return 0;
    return roundHalfEven((value + 1) * 100.0 / max);
}

int MeterReading::percent() const
{
    return std::min(progress(), 100);
}
