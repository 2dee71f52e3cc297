#pragma once

// The chart's axes: clock times at round steps, and a value scale of round numbers that holds the
// data in view. Platform-free.

#include "ui/chart/LocalClock.h"

#include <cstdint>
#include <string>
#include <vector>

struct ValueScale
{
    double low = 0.0, high = 1.0;
    std::vector<double> ticks; // from low to high, at a step of 1, 2 or 5 times a power of ten
    int decimals = 0;          // enough to tell the ticks apart
};

// A scale from at most maxTicks + 1 ticks that holds min .. max; a flat line gets a band around it.
ValueScale NiceScale(double min, double max, int maxTicks);
std::string TickText(double value, int decimals);

struct TimeTick
{
    std::int64_t second;
    std::string label; // local "hh:mm"
};

// Ticks at the smallest round step of the local clock (1 minute .. 12 hours) that gives at most
// maxTicks of them within first .. last.
std::vector<TimeTick> TimeTicks(std::int64_t first, std::int64_t last, int maxTicks,
                                UtcOffsetFn offset);
