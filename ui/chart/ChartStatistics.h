#pragma once

// Statistics of the stored seconds, and their texts for the chart window. Platform-free.

#include "ui/chart/ChartHistory.h"
#include "ui/chart/LocalClock.h"

#include <cstdint>
#include <string>

// The seconds in view: the span that ends with the newest second.
struct ViewRange
{
    std::int64_t first = 0;
    std::int64_t last = -1;
};
ViewRange ViewOf(const ChartHistory& history, int spanSeconds);

// The unit of the newest good second in first..last (None when there is none): the unit the chart
// and its statistics show; seconds in other units are left out.
ShownUnit LatestUnit(const ChartHistory& history, int channel, std::int64_t first,
                     std::int64_t last);
ValueStats ValuesIn(const ChartHistory& history, int channel, std::int64_t first, std::int64_t last,
                    ShownUnit unit);
// The totals of first..last, fed second by second (a change of unit starts them afresh).
SpanTotals TotalsOver(const ChartHistory& history, int channel, std::int64_t first,
                      std::int64_t last);
// From local midnight to the newest second.
SpanTotals TotalsToday(const ChartHistory& history, int channel, UtcOffsetFn offset);

// The texts of one channel's statistics as the window shows them.
struct ChannelReport
{
    std::string viewMin, viewMax, viewAverage;
    std::string resetMin, resetMax, resetAverage;
    std::string doseName;
    std::string doseToday, doseSinceReset;
    std::string gapToday, gapSinceReset; // "brak danych: hh:mm:ss"
};
ChannelReport ReportChannel(const ChartHistory& history, int channel, int spanSeconds,
                            UtcOffsetFn offset);

// A value with its unit ("12.35 kLx"); a dash for no value.
std::string ValueText(const ValueStats& stats, double value, ShownUnit unit);
std::string GapText(std::int64_t missingSeconds);
