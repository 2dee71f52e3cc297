#include "chart/ChartPlan.h"
#include "chart/ChartSettings.h"
#include "tests/native/chart/ChartTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{

// A drifting value with one-second spikes now and then, as a noisy meter gives.
double Drift(std::int64_t s)
{
    const double base = 50.0 + 20.0 * std::sin(static_cast<double>(s) / 3000.0);
    if (s % 7919 == 0)
        return base + 30.0;
    if (s % 6007 == 0)
        return base - 30.0;
    return base;
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
    const struct
    {
        int seconds, columns;
    } cases[] = {{86400, 1000}, {86400, 997}, {28800, 640}, {3600, 1000}, {600, 1000}, {600, 7}};
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
    for (const auto& c : cases)
    {
        const std::int64_t first = end - c.seconds + 1;
        const std::vector<ColumnExtent> columns =
            ReduceToColumns(history, 0, ShownUnit::Klx, first, c.seconds, c.columns);
        ASSERT_EQ(columns.size(), static_cast<size_t>(c.columns));
        // Every good second lies within its column's extremes; the extremes are values.
        for (std::int64_t s = first; s <= end; ++s)
        {
            const StoredSecond stored = history.At(0, s);
            if (!stored.good || stored.unit != ShownUnit::Klx)
                continue;
            const ColumnExtent& column =
                columns[static_cast<size_t>((2 * (s - first) + 1) * c.columns / (2 * c.seconds))];
            ASSERT_TRUE(column.any);
            ASSERT_LE(column.low, static_cast<float>(stored.value)) << s;
            ASSERT_GE(column.high, static_cast<float>(stored.value)) << s;
        }
        // Lines join neighbours except across the silence and the second in another unit.
        const std::vector<std::int64_t> breaks = BreaksOf(columns);
        for (std::int64_t before : breaks)
            EXPECT_TRUE(before == gapFirst - 1 || before == end - 6)
                << c.seconds << "/" << c.columns;
        // The silence is wider than a column; the one second in another unit shows only where
        // every second has a column of its own.
        EXPECT_GE(breaks.size(), 1u) << c.seconds << "/" << c.columns;
        if (c.seconds <= c.columns)
        {
            EXPECT_EQ(breaks.size(), 2u) << c.seconds << "/" << c.columns;
        }
        // Narrowed to the plot left once the labels have their room: the same extremes and breaks
        // (while a column stays narrower than the silence).
        if (c.columns < 100)
            continue;
        const std::vector<ColumnExtent> narrow = NarrowColumns(columns, c.columns * 15 / 16);
        ASSERT_EQ(narrow.size(), static_cast<size_t>(c.columns * 15 / 16));
        EXPECT_EQ(BreaksOf(narrow), breaks) << c.seconds << "/" << c.columns;
        EXPECT_EQ(Extremes(narrow), Extremes(columns)) << c.seconds << "/" << c.columns;
    }
}

TEST(NiceScale, HoldsTheDataWithRoundTicks)
{
    const struct
    {
        double min, max;
        int maxTicks;
        double low, high, step;
        int decimals;
    } cases[] = {
        {0.3, 9.7, 5, 0.0, 10.0, 2.0, 0},
        {101.2, 101.2, 5, 95.0, 110.0, 5.0, 0}, // a flat line gets a band of 5 %
        {0.0, 0.0, 4, -1.0, 1.0, 0.5, 1},
        {-3.0, 7.0, 10, -3.0, 7.0, 1.0, 0},
        {12.31, 12.47, 6, 12.30, 12.50, 0.05, 2},
        {12.31, 12.47, 9, 12.30, 12.48, 0.02, 2},
        {0.0, 1234.0, 3, 0.0, 1500.0, 500.0, 0},
        {0.0, 1000.0, 5, 0.0, 1000.0, 200.0, 0},
    };
    for (const auto& c : cases)
    {
        const ValueScale scale = NiceScale(c.min, c.max, c.maxTicks);
        EXPECT_NEAR(scale.low, c.low, 1e-9) << c.min << ".." << c.max;
        EXPECT_NEAR(scale.high, c.high, 1e-9) << c.min << ".." << c.max;
        ASSERT_GE(scale.ticks.size(), 2u);
        EXPECT_LE(scale.ticks.size(), static_cast<size_t>(c.maxTicks) + 1);
        EXPECT_NEAR(scale.ticks[1] - scale.ticks[0], c.step, 1e-9) << c.min << ".." << c.max;
        EXPECT_EQ(scale.decimals, c.decimals) << c.min << ".." << c.max;
    }
    EXPECT_EQ(TickText(-0.0000000001, 1), "0.0");
    EXPECT_EQ(TickText(12.3, 2), "12.30");
}

TEST(TimeTicks, FallOnRoundLocalTimes)
{
    const struct
    {
        std::int64_t first;
        int seconds, maxTicks;
        UtcOffsetFn offset;
        const char* firstLabel;
        int step;
    } cases[] = {
        {MARCH_1 + 30, 600, 12, Utc, "00:01", 60},
        {MARCH_1 + 30, 600, 4, Utc, "00:05", 300},
        {MARCH_1 + 61, 3600, 12, Utc, "00:05", 300},
        {MARCH_1 + 1, 8 * 3600, 12, TwoHoursEast, "03:00", 3600},
        {MARCH_1 + 1, DAY, 12, TwoHoursEast, "04:00", 7200},
        {MARCH_1 - 3600 + 1, DAY, 5, TwoHoursEast, "06:00", 6 * 3600},
    };
    for (const auto& c : cases)
    {
        const std::vector<TimeTick> ticks =
            TimeTicks(c.first, c.first + c.seconds - 1, c.maxTicks, c.offset);
        ASSERT_GE(ticks.size(), 2u);
        EXPECT_LE(ticks.size(), static_cast<size_t>(c.maxTicks));
        EXPECT_EQ(ticks.front().label, c.firstLabel);
        EXPECT_GE(ticks.front().second, c.first);
        EXPECT_EQ(ticks[1].second - ticks[0].second, c.step) << c.firstLabel;
    }
}

TEST(ChartPlan, SharesTheScaleOnlyBetweenChannelsOfOneUnit)
{
    const struct
    {
        ShownUnit first, second;
        size_t axes;
        int secondAxis;
    } cases[] = {
        {ShownUnit::Klx, ShownUnit::Klx, 1, 0},
        {ShownUnit::Umol, ShownUnit::Wm2, 2, 1},
        {ShownUnit::None, ShownUnit::Wm2, 1, 0},
    };
    for (const auto& c : cases)
    {
        ChartHistory history;
        for (std::int64_t s = MARCH_1; s < MARCH_1 + 60; ++s)
            history.Sample(s, c.first == ShownUnit::None ? Bad() : Good(10.0, c.first),
                           Good(static_cast<double>(s - MARCH_1), c.second));
        ChartPlan plan = PlanChart(history, 600, 5, 300);
        ASSERT_EQ(plan.axes.size(), c.axes);
        EXPECT_EQ(plan.series.back().channel, 1);
        EXPECT_EQ(plan.series.back().axis, c.secondAxis);
        EXPECT_EQ(plan.axes[static_cast<size_t>(c.secondAxis)].unit, c.second);
        // The shared scale holds both channels: 0 .. 59 and 10.
        const ValueScale& scale = plan.axes[static_cast<size_t>(c.secondAxis)].scale;
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
