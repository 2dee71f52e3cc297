#include "recording/RecordSettingsRules.h"

#include <gtest/gtest.h>

#include <climits>

TEST(RecordSettingsRules, IntervalTimeExtensionAndTimerPeriod)
{
    const IntervalTime t = IntervalToTime(90000 + 90); // a stored day and more: shown in the day
    EXPECT_EQ(t.hours * 10000 + t.minutes * 100 + t.seconds, 10130);
    EXPECT_EQ(IntervalFromTime({0, 5, 0}, false), 1) << "no valid time";
    EXPECT_EQ(WithChosenExtension("C:\\a.b\\dzien", FILTER_TEXT), "C:\\a.b\\dzien.txt");
    EXPECT_EQ(WithChosenExtension("C:\\a.b\\dzien", FILTER_CSV), "C:\\a.b\\dzien.csv");
    EXPECT_EQ(WithChosenExtension("C:\\dzien.csv", FILTER_TEXT), "C:\\dzien.csv");
    // Odd stored intervals: no flood of records, no overflow.
    EXPECT_EQ(LogTimerPeriodMs(0), 1000u);
    EXPECT_EQ(LogTimerPeriodMs(INT_MAX), 0x7FFFFFFFu);
}
