#include "recording/LogRecorder.h"

#include <gtest/gtest.h>

static const LocalTime AT{2008, 10, 1, 10, 15, 0};

// One recorder through a run of records of a two-channel reading of 3.456 and 0.246.
TEST(LogRecorder, RecordsFollowTheSelectionUnitsSeparatorAndTheMetersState)
{
    LogSource base{{}, false, true, 3.456, 0.246, 2, 2};
    base.reading.secondChannel = 8;
    LogRecorder recorder;
    // Every unit change, of a logged channel or not, renews the header; decimals follow the unit.
    const std::tuple<LogLayout, int, int, const char*, const char*> units[] = {
        {{true, false, SEP_TAB}, 3, 2, "\tNatężenie światła1[umol/sm2]", "\t3.5"},
        {{true, false, 7}, 3, 1, "\tNatężenie światła1[umol/sm2]", "\t3.5"},
        {{false, true, SEP_SEMICOLON}, 1, 4, ";Natężenie światła2[W/m2]", ";0.25"},
        // An unknown unit from odd settings still gives a whole header line.
        {{true, true, SEP_COMMA}, 9, 4, ",Natężenie światła1,Natężenie światła2[W/m2]", ",3.5,0.25"},
    };
    for (const auto& [layout, unit1, unit2, header, values] : units)
    {
        base.unit1 = unit1;
        base.unit2 = unit2;
        EXPECT_EQ(recorder.NextRecord(base, layout, AT).Text(),
                  std::string("Data i Godzina") + header + "\r\n2008.10.01 10:15:00" + values +
                      "\r\n");
    }
    // A value is "???" while the meter cannot be trusted for it.
    const std::pair<void (*)(LogSource&), const char*> states[] = {
        {[](LogSource& s) { s.reading.calibrationError = 4; }, "???,???"},
        {[](LogSource& s) { s.reading.measurementError1 = 1; }, "???,0.25"},
        {[](LogSource& s) { s.reading.secondChannel = 0; }, "3.5,???"},
        {[](LogSource& s) { s.reading.measurementError = 1; }, "3.5,0.25"},
        {[](LogSource& s) { s.twoChannelMode = false; }, "3.5,???"},
        {[](LogSource& s) { s.twoChannelMode = false, s.reading.measurementError = 1; }, "???,???"},
    };
    for (const auto& [spoil, values] : states)
    {
        LogSource s = base;
        spoil(s);
        EXPECT_EQ(recorder.NextRecord(s, {1, 1, SEP_COMMA}, AT).line,
                  std::string("2008.10.01 10:15:00,") + values + "\r\n");
    }
    // With no channel the line is the separator alone, and the due header waits for a record with
    // columns; a lost record owes its header again.
    base.unit1 = 1;
    EXPECT_EQ(recorder.NextRecord(base, {0, 0, SEP_SEMICOLON}, AT).Text(), ";\r\n");
    recorder.RecordLost(recorder.NextRecord(base, {1, 0, SEP_SEMICOLON}, AT));
    EXPECT_NE(recorder.NextRecord(base, {1, 0, SEP_SEMICOLON}, AT).header, "");
    recorder.RecordLost(recorder.NextRecord(base, {1, 0, SEP_SEMICOLON}, AT));
    EXPECT_EQ(recorder.NextRecord(base, {1, 0, SEP_SEMICOLON}, AT).header, "");
}
