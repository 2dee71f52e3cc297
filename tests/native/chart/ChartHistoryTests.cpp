#include "ui/chart/ChartHistory.h"
#include "ui/chart/ShownUnit.h"
#include "tests/native/chart/ChartTestSupport.h"
#include "units/UnitModel.h"

#include <gtest/gtest.h>

namespace
{

TEST(ChartHistory, KeepsTheLatestGoodSampleOfEachSecondAndGapsTheRest)
{
    ChartHistory history;
    const std::int64_t t = MARCH_1;
    history.Sample(t, Good(1.0, ShownUnit::Klx), Good(5.0, ShownUnit::Wm2));
    history.Sample(t, Good(2.0, ShownUnit::Klx), Bad()); // later and good: wins
    history.Sample(t, Bad(), Bad());                     // bad: does not erase the second
    history.Sample(t + 1, Bad(), Good(6.0, ShownUnit::Wm2));
    history.Sample(t + 4, Good(3.0, ShownUnit::Klx), Bad()); // t+2 and t+3 never sampled

    // Channel, second, value (0: a gap).
    const std::tuple<int, std::int64_t, double> cases[] = {
        {0, t, 2.0},     {1, t, 5.0},     {0, t + 1, 0.0}, {1, t + 1, 6.0}, {0, t + 2, 0.0},
        {0, t + 4, 3.0}, {1, t + 4, 0.0}, {0, t + 5, 0.0}, {0, t - 1, 0.0},
    };
    for (const auto& [channel, second, value] : cases)
    {
        const StoredSecond s = history.At(channel, second);
        EXPECT_EQ(s.good, value != 0.0) << channel << " at +" << second - t;
        EXPECT_EQ(s.value, value) << channel << " at +" << second - t;
    }
    EXPECT_EQ(history.Newest(), t + 4);
}

TEST(ChartHistory, WrapsAfterADayInFixedMemory)
{
    ChartHistory history;
    const std::size_t bytes = history.MemoryBytes();
    // 26 hours; second 1000 of the second day is missing.
    Fill(history, MARCH_1, MARCH_1 + DAY + 2 * 3600 - 1,
         [](std::int64_t s)
         {
             return s == MARCH_1 + DAY + 1000
                        ? Bad()
                        : Good(static_cast<double>(s % 1000), ShownUnit::Umol);
         });
    const std::int64_t newest = MARCH_1 + DAY + 2 * 3600 - 1;
    EXPECT_EQ(history.MemoryBytes(), bytes);
    EXPECT_LT(bytes, 1000000u);

    const std::pair<std::int64_t, bool> cases[] = {
        {newest, true},
        {newest - ChartHistory::SECONDS + 1, true}, // the oldest second kept
        {newest - ChartHistory::SECONDS, false},    // overwritten by the wrap
        {MARCH_1, false},
        {MARCH_1 + DAY + 1000, false},
        {MARCH_1 + DAY + 999, true},
    };
    for (const auto& [second, good] : cases)
    {
        const StoredSecond s = history.At(0, second);
        EXPECT_EQ(s.good, good) << second - MARCH_1;
        EXPECT_EQ(s.value, good ? static_cast<double>(second % 1000) : 0.0) << second - MARCH_1;
    }

    // Visiting a range that starts before the kept day and ends after the newest second.
    int good = 0, total = 0;
    history.Visit(0, newest - DAY - 9, newest + 10,
                  [&](std::int64_t, bool g, double, ShownUnit)
                  {
                      good += g;
                      ++total;
                  });
    EXPECT_EQ(total, DAY + 20);
    EXPECT_EQ(good, DAY - 1);
}

TEST(ChartHistory, ALongSilenceOrAClockSetBackLeavesOnlyGaps)
{
    ChartHistory history;
    Fill(history, MARCH_1, MARCH_1 + 100, [](std::int64_t) { return Good(1.0, ShownUnit::Klx); });
    history.Sample(MARCH_1 + 3 * DAY, Good(2.0, ShownUnit::Klx), Bad());
    EXPECT_FALSE(history.At(0, MARCH_1 + 3 * DAY - 1).good);
    EXPECT_FALSE(history.At(0, MARCH_1 + 2 * DAY + 50).good) << "a stale slot of the same phase";
    EXPECT_TRUE(history.At(0, MARCH_1 + 3 * DAY).good);

    history.Sample(MARCH_1 + 3 * DAY - 3600, Good(3.0, ShownUnit::Klx), Bad());
    EXPECT_EQ(history.Newest(), MARCH_1 + 3 * DAY - 3600);
    EXPECT_FALSE(history.At(0, MARCH_1 + 3 * DAY - 3601).good);
    EXPECT_EQ(history.At(0, MARCH_1 + 3 * DAY - 3600).value, 3.0);
}

// (A reset is in the statistics' tests.)
TEST(ChartHistory, TotalsSinceResetReachBeyondTheDay)
{
    ChartHistory history;
    Fill(history, MARCH_1, MARCH_1 + 30 * 3600,
         [](std::int64_t) { return Good(1000.0, ShownUnit::Umol); });
    const SpanTotals totals = history.SinceReset(0);
    EXPECT_EQ(totals.Values().Count(), 30 * 3600 + 1);
    EXPECT_NEAR(totals.DoseAmount(), 108.0, 1e-9); // 1000e-6 mol * 108000 s
    EXPECT_EQ(totals.Dose().MissingSeconds(), 0);
    EXPECT_EQ(history.SinceReset(1).Dose().MissingSeconds(), 30 * 3600 + 1);
}

TEST(ShownUnit, IsTheUnitThePanelShows)
{
    const std::tuple<int, int, ShownUnit> cases[] = {
        {UNIT_WM2, CONV_TO_KLX, ShownUnit::Klx},
        {UNIT_WM2_FINE, CONV_NONE, ShownUnit::Wm2},
        {UNIT_WM2_FINE, CONV_TO_WM2, ShownUnit::Wm2},
        {0, CONV_NONE, ShownUnit::None},
    };
    for (const auto& [code, mode, shown] : cases)
        EXPECT_EQ(ShownUnitOf(code, mode), shown) << code << "/" << mode;
}

} // namespace
