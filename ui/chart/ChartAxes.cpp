#include "ui/chart/ChartAxes.h"

#include "units/UnitModel.h"

#include <cmath>
#include <cstdio>

namespace
{
// Clock steps in seconds, each dividing a day.
constexpr int TIME_STEPS[] = {60, 120, 300, 600, 900, 1800, 3600, 7200, 10800, 21600, 43200};

double NiceStep(double rough)
{
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0})
        if (factor * power >= rough * (1.0 - 1e-9))
            return factor * power;
    return 10.0 * power;
}
} // namespace

ValueScale NiceScale(double min, double max, int maxTicks)
{
    if (maxTicks < 1)
        maxTicks = 1;
    if (!(min <= max))
        min = 0.0, max = 1.0; // no data (or NaN)
    if (max - min <= std::fabs(max) * 1e-9)
    {
        const double band = min == 0.0 ? 1.0 : std::fabs(min) * 0.05;
        min -= band;
        max += band;
    }
    ValueScale scale;
    double step = NiceStep((max - min) / maxTicks);
    // Rounding the ends outwards can need one more step than planned.
    while (std::ceil(max / step - 1e-9) - std::floor(min / step + 1e-9) > maxTicks)
        step = NiceStep(step * 1.01);
    const double firstIndex = std::floor(min / step + 1e-9);
    const double lastIndex = std::ceil(max / step - 1e-9);
    scale.low = firstIndex * step;
    scale.high = lastIndex * step;
    for (double i = firstIndex; i <= lastIndex; ++i)
        scale.ticks.push_back(i * step);
    const int digits = -static_cast<int>(std::floor(std::log10(step) + 1e-9));
    scale.decimals = digits > 0 ? digits : 0;
    return scale;
}

std::string TickText(double value, int decimals)
{
    if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals))
        value = 0.0; // no "-0.0"
    const std::string format = "%." + std::to_string(decimals) + "f";
    return FormatNumber(format.c_str(), value);
}

std::vector<TimeTick> TimeTicks(std::int64_t first, std::int64_t last, int maxTicks,
                                UtcOffsetFn offset)
{
    std::vector<TimeTick> ticks;
    if (last < first || maxTicks < 1)
        return ticks;
    int step = TIME_STEPS[sizeof TIME_STEPS / sizeof TIME_STEPS[0] - 1];
    for (int candidate : TIME_STEPS)
        if ((last - first + 1) / candidate <= maxTicks)
        {
            step = candidate;
            break;
        }
    // Round times of the local clock: counted from local midnight, which every step divides.
    const std::int64_t midnight = LocalMidnightOf(first, offset);
    for (std::int64_t second = midnight; second <= last; second += step)
    {
        if (second < first)
            continue;
        const ClockTime t = LocalClockAt(second, offset);
        char label[16];
        std::snprintf(label, sizeof label, "%02d:%02d", t.hour, t.minute);
        ticks.push_back({second, label});
    }
    return ticks;
}
