#include "chart/ChartHistory.h"
#include "chart/ShownUnit.h"
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

    const struct
    {
        int channel;
        std::int64_t second;
        bool good;
        double value;
    } cases[] = {
        {0, t, true, 2.0},      {1, t, true, 5.0},      {0, t + 1, false, 0.0},
        {1, t + 1, true, 6.0},  {0, t + 2, false, 0.0}, {0, t + 3, false, 0.0},
        {0, t + 4, true, 3.0},  {1, t + 4, false, 0.0}, {0, t + 5, false, 0.0},
        {0, t - 1, false, 0.0},
    };
    for (const auto& c : cases)
    {
        const StoredSecond s = history.At(c.channel, c.second);
        EXPECT_EQ(s.good, c.good) << c.channel << " at +" << c.second - t;
        EXPECT_EQ(s.value, c.good ? c.value : 0.0) << c.channel << " at +" << c.second - t;
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

    const struct
    {
        std::int64_t second;
        bool good;
    } cases[] = {
        {newest, true},
        {newest - ChartHistory::SECONDS + 1, true}, // the oldest second kept
        {newest - ChartHistory::SECONDS, false},    // overwritten by the wrap
        {MARCH_1, false},
        {MARCH_1 + DAY + 1000, false},
        {MARCH_1 + DAY + 999, true},
    };
    for (const auto& c : cases)
    {
        const StoredSecond s = history.At(0, c.second);
        EXPECT_EQ(s.good, c.good) << c.second - MARCH_1;
        EXPECT_EQ(s.value, c.good ? static_cast<double>(c.second % 1000) : 0.0)
            << c.second - MARCH_1;
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

TEST(ChartHistory, TotalsSinceResetReachBeyondTheDayAndStartAfreshOnReset)
{
    ChartHistory history;
    // 30 hours of 1000 umol/(s*m2), then a reset and 2 hours of 500 with a 60-second gap.
    const std::int64_t end = MARCH_1 + 30 * 3600;
    Fill(history, MARCH_1, end, [](std::int64_t) { return Good(1000.0, ShownUnit::Umol); });
    SpanTotals totals = history.SinceReset(0);
    EXPECT_EQ(totals.Values().Count(), 30 * 3600 + 1);
    EXPECT_NEAR(totals.DoseAmount(), 108.0, 1e-9); // 1000e-6 mol * 108000 s
    EXPECT_EQ(totals.Dose().MissingSeconds(), 0);
    EXPECT_EQ(history.SinceReset(1).Dose().MissingSeconds(), 30 * 3600 + 1);

    history.ResetTotals();
    Fill(history, end + 1, end + 2 * 3600,
         [&](std::int64_t s)
         { return s > end + 100 && s <= end + 160 ? Bad() : Good(500.0, ShownUnit::Umol); });
    totals = history.SinceReset(0);
    EXPECT_EQ(totals.Values().Count(), 2 * 3600 - 60);
    EXPECT_EQ(totals.Values().Max(), 500.0) << "the second of the reset is left out";
    EXPECT_EQ(totals.Dose().MissingSeconds(), 60);
    // Trapezoids: 99 among the 100 seconds before the gap, none across it, 7039 after it.
    EXPECT_NEAR(totals.DoseAmount(), 500e-6 * (99 + 7039), 1e-9);
}

TEST(ShownUnit, IsTheUnitThePanelShows)
{
    const struct
    {
        int code, mode;
        ShownUnit shown;
    } cases[] = {
        {UNIT_KLX, CONV_NONE, ShownUnit::Klx},
        {UNIT_KLX, CONV_TO_WM2, ShownUnit::Wm2},
        {UNIT_WM2, CONV_TO_KLX, ShownUnit::Klx},
        {UNIT_WM2_FINE, CONV_NONE, ShownUnit::Wm2},
        {UNIT_WM2_FINE, CONV_TO_WM2, ShownUnit::Wm2},
        {UNIT_UMOL, CONV_TO_KLX, ShownUnit::Umol},
        {0, CONV_NONE, ShownUnit::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShownUnitOf(c.code, c.mode), c.shown) << c.code << "/" << c.mode;
}

} // namespace
