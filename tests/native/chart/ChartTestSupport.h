#pragma once

// Filling a history second by second for the chart tests.

#include "ui/chart/ChartHistory.h"

#include <cstdint>
#include <functional>

// A fixed local time zone for tests: the clock runs two hours ahead of UTC.
inline long TwoHoursEast(std::int64_t)
{
    return 2 * 3600;
}
inline long Utc(std::int64_t)
{
    return 0;
}

constexpr std::int64_t DAY = 86400;
// 2024-03-01 00:00:00 UTC.
constexpr std::int64_t MARCH_1 = 1709251200;

inline ChannelSample Good(double value, ShownUnit unit)
{
    return {true, value, unit};
}
inline ChannelSample Bad()
{
    return {};
}

// One sample per second from first to last (inclusive) for channel 1; channel 2 stays bad.
inline void Fill(ChartHistory& history, std::int64_t first, std::int64_t last,
                 const std::function<ChannelSample(std::int64_t)>& channel1)
{
    for (std::int64_t second = first; second <= last; ++second)
        history.Sample(second, channel1(second), Bad());
}
