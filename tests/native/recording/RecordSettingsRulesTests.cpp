#include "recording/RecordSettingsRules.h"

#include <gtest/gtest.h>

#include <climits>

namespace
{

TEST(RecordSettingsRules, IntervalAsTimeOfDayAndBack)
{
    const struct
    {
        int seconds, hours, minutes, secs;
    } cases[] = {{90, 0, 1, 30}, {3600, 1, 0, 0}, {86399, 23, 59, 59}, {90000, 1, 0, 0}};
    for (const auto& c : cases)
    {
        const IntervalTime t = IntervalToTime(c.seconds);
        EXPECT_EQ(t.hours * 10000 + t.minutes * 100 + t.seconds,
                  c.hours * 10000 + c.minutes * 100 + c.secs)
            << c.seconds;
    }
    EXPECT_EQ(IntervalFromTime({23, 59, 59}), 86399);
    EXPECT_EQ(IntervalFromTime({0, 0, 0}), 1);
    EXPECT_EQ(IntervalFromTime({0, 5, 0}, false), 1) << "no valid time";
}

TEST(RecordSettingsRules, ChosenNameWithoutExtensionGetsTheFiltersOne)
{
    const struct
    {
        const char *path, *expected;
        int filter;
    } cases[] = {
        {"C:\\pomiary\\dzien", "C:\\pomiary\\dzien.txt", FILTER_TEXT},
        {"C:\\pomiary\\dzien", "C:\\pomiary\\dzien.csv", FILTER_CSV},
        {"C:\\pomiary.2008\\dzien", "C:\\pomiary.2008\\dzien.csv", FILTER_CSV},
        {"C:\\pomiary\\dzien.csv", "C:\\pomiary\\dzien.csv", FILTER_TEXT},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WithChosenExtension(c.path, c.filter), c.expected) << c.path;
}

TEST(RecordSettingsRules, OddStoredIntervalsGiveATimerPeriodThatWorks)
{
    EXPECT_EQ(LogTimerPeriodMs(86399), 86399000u);
    EXPECT_EQ(LogTimerPeriodMs(0), 1000u) << "no flood of records";
    EXPECT_EQ(LogTimerPeriodMs(INT_MAX), 0x7FFFFFFFu) << "no overflow";
}

} // namespace
