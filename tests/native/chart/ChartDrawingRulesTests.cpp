#include "ui/chart/ChartPlan.h"
#include "ui/chart/ChartSettings.h"
#include "tests/native/chart/ChartTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{

// A drifting value with one-second spikes now and then, as a noisy meter gives.
double Drift(std::int64_t s)
{
    return 50.0 + 20.0 * std::sin(static_cast<double>(s) / 3000.0) + (s % 7919 ? 0.0 : 30.0) -
           (s % 6007 ? 0.0 : 30.0);
}

// The seconds after which the line breaks.
std::vector<std::int64_t> BreaksOf(const std::vector<ColumnExtent>& columns)
{
    std::vector<std::int64_t> breaks;
    const ColumnExtent* previous = nullptr;
    for (const ColumnExtent& column : columns)
    {
        if (!column.any)
            continue;
        if (previous && !Joined(*previous, column))
            breaks.push_back(previous->lastSecond);
        previous = &column;
    }
    return breaks;
}

std::pair<float, float> Extremes(const std::vector<ColumnExtent>& columns)
{
    std::pair<float, float> extremes{1e30f, -1e30f};
    for (const ColumnExtent& column : columns)
        if (column.any)
            extremes = {std::min(extremes.first, column.low),
                        std::max(extremes.second, column.high)};
    return extremes;
}

TEST(ColumnReduction, KeepsEveryExtremeAndNeverJoinsAcrossAGap)
{
    // Seconds in view, columns.
    const std::pair<int, int> cases[] = {{86400, 1000}, {86400, 997}, {28800, 640},
                                         {3600, 1000},  {600, 1000},  {600, 7}};
    ChartHistory history;
    const std::int64_t end = MARCH_1 + DAY - 1;
    const std::int64_t gapFirst = end - 300, gapLast = end - 200; // 101 seconds of silence
    Fill(history, MARCH_1, end,
         [&](std::int64_t s)
         {
             if (s >= gapFirst && s <= gapLast)
                 return Bad();
             if (s == end - 5)
                 return Good(1.0, ShownUnit::Wm2); // another unit: left out
             return Good(Drift(s), ShownUnit::Klx);
         });
    for (const auto& [seconds, width] : cases)
    {
        const std::int64_t first = end - seconds + 1;
        const std::vector<ColumnExtent> columns =
            ReduceToColumns(history, 0, ShownUnit::Klx, first, seconds, width);
        ASSERT_EQ(columns.size(), static_cast<size_t>(width));
        // Every good second lies within its column's extremes; the extremes are values.
        for (std::int64_t s = first; s <= end; ++s)
        {
            const StoredSecond stored = history.At(0, s);
            if (!stored.good || stored.unit != ShownUnit::Klx)
                continue;
            const ColumnExtent& column =
                columns[static_cast<size_t>((2 * (s - first) + 1) * width / (2 * seconds))];
            ASSERT_TRUE(column.any);
            ASSERT_LE(column.low, static_cast<float>(stored.value)) << s;
            ASSERT_GE(column.high, static_cast<float>(stored.value)) << s;
        }
        // Lines join neighbours except across the silence and the second in another unit.
        const std::vector<std::int64_t> breaks = BreaksOf(columns);
        for (std::int64_t before : breaks)
            EXPECT_TRUE(before == gapFirst - 1 || before == end - 6) << seconds << "/" << width;
        // The silence is wider than a column; the one second in another unit shows only where
        // every second has a column of its own.
        EXPECT_GE(breaks.size(), 1u) << seconds << "/" << width;
        if (seconds <= width)
        {
            EXPECT_EQ(breaks.size(), 2u) << seconds << "/" << width;
        }
        // Narrowed to the plot left once the labels have their room: the same extremes and breaks
        // (while a column stays narrower than the silence).
        if (width < 100)
            continue;
        const std::vector<ColumnExtent> narrow = NarrowColumns(columns, width * 15 / 16);
        ASSERT_EQ(narrow.size(), static_cast<size_t>(width * 15 / 16));
        EXPECT_EQ(BreaksOf(narrow), breaks) << seconds << "/" << width;
        EXPECT_EQ(Extremes(narrow), Extremes(columns)) << seconds << "/" << width;
    }
}

TEST(NiceScale, HoldsTheDataWithRoundTicks)
{
    // Data min, max, ticks at most; scale low, high, step, decimals.
    const std::tuple<double, double, int, double, double, double, int> cases[] = {
        {0.3, 9.7, 5, 0.0, 10.0, 2.0, 0},
        {101.2, 101.2, 5, 95.0, 110.0, 5.0, 0}, // a flat line gets a band of 5 %
        {0.0, 0.0, 4, -1.0, 1.0, 0.5, 1},
        {12.31, 12.47, 6, 12.30, 12.50, 0.05, 2},
        {12.31, 12.47, 9, 12.30, 12.48, 0.02, 2},
        {0.0, 1234.0, 3, 0.0, 1500.0, 500.0, 0},
    };
    for (const auto& [min, max, maxTicks, low, high, step, decimals] : cases)
    {
        const ValueScale scale = NiceScale(min, max, maxTicks);
        EXPECT_NEAR(scale.low, low, 1e-9) << min << ".." << max;
        EXPECT_NEAR(scale.high, high, 1e-9) << min << ".." << max;
        ASSERT_GE(scale.ticks.size(), 2u);
        EXPECT_LE(scale.ticks.size(), static_cast<size_t>(maxTicks) + 1);
        EXPECT_NEAR(scale.ticks[1] - scale.ticks[0], step, 1e-9) << min << ".." << max;
        EXPECT_EQ(scale.decimals, decimals) << min << ".." << max;
    }
    EXPECT_EQ(TickText(-0.0000000001, 1), "0.0");
    EXPECT_EQ(TickText(12.3, 2), "12.30");
}

TEST(TimeTicks, FallOnRoundLocalTimes)
{
    // First second, seconds, ticks at most, offset; the first tick's label, the step.
    const std::tuple<std::int64_t, int, int, UtcOffsetFn, std::string, int> cases[] = {
        {MARCH_1 + 30, 600, 12, Utc, "00:01", 60},
        {MARCH_1 + 30, 600, 4, Utc, "00:05", 300},
        {MARCH_1 + 1, 8 * 3600, 12, TwoHoursEast, "03:00", 3600},
        {MARCH_1 + 1, DAY, 12, TwoHoursEast, "04:00", 7200},
        {MARCH_1 - 3600 + 1, DAY, 5, TwoHoursEast, "06:00", 6 * 3600},
    };
    for (const auto& [first, seconds, maxTicks, offset, firstLabel, step] : cases)
    {
        const std::vector<TimeTick> ticks = TimeTicks(first, first + seconds - 1, maxTicks, offset);
        ASSERT_GE(ticks.size(), 2u);
        EXPECT_LE(ticks.size(), static_cast<size_t>(maxTicks));
        EXPECT_EQ(ticks.front().label, firstLabel);
        EXPECT_GE(ticks.front().second, first);
        EXPECT_EQ(ticks[1].second - ticks[0].second, step) << firstLabel;
    }
}

TEST(ChartPlan, SharesTheScaleOnlyBetweenChannelsOfOneUnit)
{
    // The units of the channels; the axes, and channel 2's.
    const std::tuple<ShownUnit, ShownUnit, size_t, int> cases[] = {
        {ShownUnit::Klx, ShownUnit::Klx, 1, 0},
        {ShownUnit::Umol, ShownUnit::Wm2, 2, 1},
        {ShownUnit::None, ShownUnit::Wm2, 1, 0},
    };
    for (const auto& [unit1, unit2, axes, secondAxis] : cases)
    {
        ChartHistory history;
        for (std::int64_t s = MARCH_1; s < MARCH_1 + 60; ++s)
            history.Sample(s, unit1 == ShownUnit::None ? Bad() : Good(10.0, unit1),
                           Good(static_cast<double>(s - MARCH_1), unit2));
        ChartPlan plan = PlanChart(history, 600, 5, 300);
        ASSERT_EQ(plan.axes.size(), axes);
        EXPECT_EQ(plan.series.back().channel, 1);
        EXPECT_EQ(plan.series.back().axis, secondAxis);
        EXPECT_EQ(plan.axes[static_cast<size_t>(secondAxis)].unit, unit2);
        // The shared scale holds both channels: 0 .. 59 and 10.
        const ValueScale& scale = plan.axes[static_cast<size_t>(secondAxis)].scale;
        EXPECT_LE(scale.low, 0.0);
        EXPECT_GE(scale.high, 59.0);
        EXPECT_EQ(plan.series.back().columns.size(), 300u);
        NarrowSeries(plan, 250);
        EXPECT_EQ(plan.series.front().columns.size(), 250u);
        EXPECT_EQ(ValueToY(scale, scale.low, 10, 110), 110);
        EXPECT_EQ(ValueToY(scale, scale.high, 10, 110), 10);
    }
    EXPECT_TRUE(PlanChart(ChartHistory(), 600, 5, 300).series.empty());
}

TEST(ChartSettings, AStoredSpanThatIsNoChoiceReadsAsTheDefault)
{
    for (const ChartSpanChoice& choice : CHART_SPANS)
        EXPECT_EQ(StoredToChartSpan(static_cast<std::uint32_t>(choice.seconds)), choice.seconds);
    for (std::uint32_t stored : {0u, 1u, 601u, 0xFFFFFFFFu})
        EXPECT_EQ(StoredToChartSpan(stored), DEFAULT_CHART_SPAN) << stored;
    EXPECT_FALSE(ChartSettings().HasPlacement());
}

} // namespace
