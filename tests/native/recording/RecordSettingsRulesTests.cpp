#include "recording/RecordSettingsRules.h"

#include <gtest/gtest.h>

#include <climits>

namespace
{

TEST(RecordSettingsRules, IntervalTimeExtensionAndTimerPeriod)
{
    for (const auto& [seconds, shown] : {std::pair{90, 130}, {3600, 10000}, {90000, 10000}})
    {
        const IntervalTime t = IntervalToTime(seconds);
        EXPECT_EQ(t.hours * 10000 + t.minutes * 100 + t.seconds, shown) << seconds;
    }
    EXPECT_EQ(IntervalFromTime({23, 59, 59}), 86399);
    EXPECT_EQ(IntervalFromTime({0, 0, 0}), 1);
    EXPECT_EQ(IntervalFromTime({0, 5, 0}, false), 1) << "no valid time";

    EXPECT_EQ(WithChosenExtension("C:\\a.b\\dzien", FILTER_TEXT), "C:\\a.b\\dzien.txt");
    EXPECT_EQ(WithChosenExtension("C:\\a.b\\dzien", FILTER_CSV), "C:\\a.b\\dzien.csv");
    EXPECT_EQ(WithChosenExtension("C:\\dzien.csv", FILTER_TEXT), "C:\\dzien.csv");

    // Odd stored intervals: no flood of records, no overflow.
    EXPECT_EQ(LogTimerPeriodMs(0), 1000u);
    EXPECT_EQ(LogTimerPeriodMs(INT_MAX), 0x7FFFFFFFu);
}

} // namespace
