#include "recording/RecordSettingsRules.h"

#include <gtest/gtest.h>

TEST(RecordSettingsRules, IntervalTimeExtensionAndTimerPeriod)
{
    // A stored day and more is shown in the day; no valid time means 1 second.
    EXPECT_EQ(IntervalFromTime(IntervalToTime(90000 + 90)), 3690);
    EXPECT_EQ(IntervalFromTime({0, 5, 0}, false), 1);
    EXPECT_EQ(WithChosenExtension("C:\\a.b\\dzien", FILTER_TEXT), "C:\\a.b\\dzien.txt");
    EXPECT_EQ(WithChosenExtension("C:\\a.b\\dzien", FILTER_CSV), "C:\\a.b\\dzien.csv");
    EXPECT_EQ(WithChosenExtension("C:\\dzien.csv", FILTER_TEXT), "C:\\dzien.csv");
    // Odd stored intervals: no flood of records, no overflow.
    EXPECT_EQ(LogTimerPeriodMs(0), 1000u);
    EXPECT_EQ(LogTimerPeriodMs(0x7FFFFFFF), 0x7FFFFFFFu);
}
