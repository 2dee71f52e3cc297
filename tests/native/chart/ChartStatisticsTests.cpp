#include "ui/chart/ChartStatistics.h"
#include "tests/native/chart/ChartTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

// Channel 1 over a run of seconds described piece by piece.
struct Piece
{
    int seconds;
    double from, to; // a ramp from .. to over the piece (equal: constant); NaN: a gap
    ShownUnit unit;
};

const double GAP = std::numeric_limits<double>::quiet_NaN();

std::int64_t FillPieces(ChartHistory& history, std::int64_t start,
                        std::initializer_list<Piece> pieces)
{
    std::int64_t second = start;
    for (const Piece& piece : pieces)
        for (int i = 0; i < piece.seconds; ++i, ++second)
        {
            const double value =
                piece.seconds > 1 ? piece.from + (piece.to - piece.from) * i / (piece.seconds - 1)
                                  : piece.from;
            history.Sample(second, std::isnan(piece.from) ? Bad() : Good(value, piece.unit), Bad());
        }
    return second - 1;
}

TEST(Doses, AreTrapezoidsBetweenNeighbouringGoodSecondsOnly)
{
    const ShownUnit umol = ShownUnit::Umol, wm2 = ShownUnit::Wm2, klx = ShownUnit::Klx;
    const struct
    {
        const char* what;
        std::initializer_list<Piece> pieces;
        ShownUnit unit;
        double dose; // in the dose's own unit
        std::int64_t missing;
    } cases[] = {
        {"12 h of 1000 umol/(s*m2)", {{12 * 3600 + 1, 1000, 1000, umol}}, umol, 43.2, 0},
        {"a ramp 0..100 W/m2 over 100 s", {{101, 0, 100, wm2}}, wm2, 5.0, 0},
        {"1 h of 10 kLx", {{3601, 10, 10, klx}}, klx, 10.0, 0},
        {"a 10-minute gap is not bridged",
         {{3601, 1000, 1000, umol}, {600, GAP, GAP, umol}, {3601, 1000, 1000, umol}},
         umol,
         7.2,
         600},
        {"a single good second between gaps adds nothing",
         {{5, GAP, GAP, wm2}, {1, 800, 800, wm2}, {5, GAP, GAP, wm2}},
         wm2,
         0.0,
         10},
        {"a change of unit starts a new dose",
         {{3601, 10, 10, klx}, {30, GAP, GAP, klx}, {1801, 100, 100, wm2}},
         wm2,
         180.0,
         0},
    };
    for (const auto& c : cases)
    {
        ChartHistory history;
        const std::int64_t last = FillPieces(history, MARCH_1, c.pieces);
        const SpanTotals totals = TotalsOver(history, 0, MARCH_1, last);
        EXPECT_EQ(totals.Unit(), c.unit) << c.what;
        EXPECT_NEAR(totals.DoseAmount(), c.dose, 1e-9) << c.what;
        EXPECT_EQ(totals.Dose().MissingSeconds(), c.missing) << c.what;
        // The totals since reset, kept second by second, agree with the ones taken afterwards.
        EXPECT_NEAR(history.SinceReset(0).DoseAmount(), c.dose, 1e-9) << c.what;
        EXPECT_EQ(history.SinceReset(0).Dose().MissingSeconds(), c.missing) << c.what;
    }
}

TEST(ChannelReport, ShowsTheViewTheTotalsSinceResetAndTheDoseSinceLocalMidnight)
{
    // Local clock two hours ahead: local midnight of March 1 is 22:00 UTC of February 29.
    const std::int64_t midnight = MARCH_1 - 2 * 3600;
    ChartHistory history;
    // From 23:30 local: 1 h of 200 W/m2, half of it after midnight; then the statistics are
    // reset; then a 10-minute gap and 3001 seconds rising by 0.02 W/m2 a second from 100.
    std::int64_t last = FillPieces(history, midnight - 1800, {{3600, 200, 200, ShownUnit::Wm2}});
    history.ResetTotals();
    last = FillPieces(history, last + 1,
                      {{600, GAP, GAP, ShownUnit::Wm2}, {3001, 100, 160, ShownUnit::Wm2}});
    ASSERT_EQ(last, midnight + 5400);

    const ChannelReport tenMinutes = ReportChannel(history, 0, 600, TwoHoursEast);
    EXPECT_EQ(tenMinutes.viewMin, "148.02 W/m²");
    EXPECT_EQ(tenMinutes.viewMax, "160.00 W/m²");
    EXPECT_EQ(tenMinutes.viewAverage, "154.01 W/m²");
    const ChannelReport day = ReportChannel(history, 0, 86400, TwoHoursEast);
    EXPECT_EQ(day.viewMin, "100.00 W/m²");
    EXPECT_EQ(day.viewMax, "200.00 W/m²");
    EXPECT_EQ(day.resetMin, "100.00 W/m²");
    EXPECT_EQ(day.resetMax, "160.00 W/m²");
    EXPECT_EQ(day.resetAverage, "130.00 W/m²");
    EXPECT_EQ(day.doseName, "Napromienienie");
    // Since midnight: 1799 trapezoids of 200 J/m2, none into or out of the gap, then 3000 of
    // 130 J/m2 on average.
    EXPECT_EQ(day.doseToday, "749.8 kJ/m²");
    EXPECT_EQ(day.gapToday, "brak danych: 00:10:00");
    EXPECT_EQ(day.doseSinceReset, "390.0 kJ/m²");
    EXPECT_EQ(day.gapSinceReset, "brak danych: 00:10:00");

    // Channel 2 never had a value: dashes, and the whole time since midnight without data.
    const ChannelReport second = ReportChannel(history, 1, 600, TwoHoursEast);
    EXPECT_EQ(second.viewMin, "—");
    EXPECT_EQ(second.resetAverage, "—");
    EXPECT_EQ(second.doseToday, "—");
    EXPECT_EQ(second.gapToday, "brak danych: 01:30:01");
}

TEST(ChannelReport, InViewShowsOnlyTheUnitShownNow)
{
    ChartHistory history;
    FillPieces(history, MARCH_1, {{100, 5, 5, ShownUnit::Klx}, {100, 7.35, 7.35, ShownUnit::Wm2}});
    const ChannelReport report = ReportChannel(history, 0, 600, Utc);
    EXPECT_EQ(report.viewMin, "7.35 W/m²");
    EXPECT_EQ(report.viewMax, "7.35 W/m²");
}

TEST(ClockTexts, CountHoursPastADay)
{
    EXPECT_EQ(GapText(100 * 3600 + 59), "brak danych: 100:00:59");
}

TEST(LocalClock, FindsLocalMidnightAndTheCivilDate)
{
    // At, offset, local midnight, and the local date and hour as yyyymmddhh.
    const std::tuple<std::int64_t, UtcOffsetFn, std::int64_t, long long> cases[] = {
        {MARCH_1 + 5, Utc, MARCH_1, 2024030100},
        {MARCH_1 - 1, Utc, MARCH_1 - DAY, 2024022923},
        {MARCH_1 + 3600, TwoHoursEast, MARCH_1 - 7200, 2024030103},
        {MARCH_1 - 7201, TwoHoursEast, MARCH_1 - 7200 - DAY, 2024022923},
        {MARCH_1 + 3600, [](std::int64_t) -> long { return -5 * 3600; }, MARCH_1 - DAY + 5 * 3600,
         2024022920},
    };
    for (const auto& [at, offset, midnight, hour] : cases)
    {
        EXPECT_EQ(LocalMidnightOf(at, offset), midnight) << at;
        const ClockTime t = LocalClockAt(at, offset);
        EXPECT_EQ(t.year * 1000000LL + t.month * 10000 + t.day * 100 + t.hour, hour) << at;
    }
}

} // namespace
