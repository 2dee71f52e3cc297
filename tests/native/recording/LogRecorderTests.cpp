#include "recording/LogRecorder.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

const LocalTime AT{2008, 10, 1, 10, 15, 0};

LogSource TwoChannels(double value1, double value2, int unit1, int unit2)
{
    MeterReading reading;
    reading.secondChannel = 8;
    return {reading, 0, 1, value1, value2, unit1, unit2};
}

TEST(LogRecorder, WorkedExampleHeaderAndTwoRecordsSemicolonSeparated)
{
    LogRecorder recorder;
    LogSource s = TwoChannels(12.3, 11.8, 2, 2);
    EXPECT_EQ(recorder.NextRecord(s, {1, 1, SEP_SEMICOLON}, AT).Text(),
              "Data i Godzina;Natężenie światła1[kLx];Natężenie światła2[kLx]\r\n"
              "2008.10.01 10:15:00;12.3;11.8\r\n");
    s.reading1 = 12.4;
    s.reading.measurementError2 = 2;
    EXPECT_EQ(recorder.NextRecord(s, {1, 1, SEP_SEMICOLON}, {2008, 10, 1, 10, 15, 10}).Text(),
              "2008.10.01 10:15:10;12.4;???\r\n");
}

TEST(LogRecorder, HeaderAndDecimalsFollowTheSelectionTheUnitAndTheSeparator)
{
    const struct
    {
        int canal1, canal2, unit1, unit2, sep;
        const char *header, *line;
    } cases[] = {
        {1, 0, 3, 1, SEP_TAB, "\tNatężenie światła1[umol/sm2]", "\t3.5"},
        {1, 0, 4, 1, 7, "\tNatężenie światła1[W/m2]", "\t3.46"},
        {0, 1, 1, 4, SEP_COMMA, ",Natężenie światła2[W/m2]", ",0.25"},
        {0, 1, 4, 2, SEP_SEMICOLON, ";Natężenie światła2[kLx]", ";0.2"},
        // An unknown unit from odd settings still gives a whole header line.
        {1, 1, 9, 1, SEP_COMMA, ",Natężenie światła1,Natężenie światła2[W/m2]", ",3.5,0.2"},
    };
    for (const auto& c : cases)
    {
        LogRecorder recorder;
        const LogSource s = TwoChannels(3.456, 0.246, c.unit1, c.unit2);
        // Neither channel: the separator alone, and the header waits for a record with columns.
        EXPECT_EQ(recorder.NextRecord(s, {0, 0, c.sep}, AT).Text(),
                  std::string(c.header, 1) + "\r\n");
        const LogRecord r = recorder.NextRecord(s, {c.canal1, c.canal2, c.sep}, AT);
        EXPECT_EQ(r.Text(), std::string("Data i Godzina") + c.header + "\r\n2008.10.01 10:15:00" +
                                c.line + "\r\n");
    }
}

TEST(LogRecorder, ValuesAreUnknownWhileTheMeterCannotBeTrusted)
{
    const struct
    {
        void (*spoil)(LogSource&);
        const char* values;
    } cases[] = {
        {[](LogSource& s) { s.linkLost = 1; }, "???,???"},
        {[](LogSource& s) { s.reading.calibrationError = 4; }, "???,???"},
        {[](LogSource& s) { s.reading.measurementError1 = 1; }, "???,2.5"},
        {[](LogSource& s) { s.reading.secondChannel = 0; }, "1.5,???"},
        {[](LogSource& s) { s.reading.measurementError = 1; }, "1.5,2.5"},
        {[](LogSource& s) { s.twoChannelMode = 0; }, "1.5,???"},
        {[](LogSource& s) { s.twoChannelMode = 0, s.reading.measurementError = 1; }, "???,???"},
    };
    for (const auto& c : cases)
    {
        LogRecorder recorder;
        LogSource s = TwoChannels(1.5, 2.5, 2, 2);
        c.spoil(s);
        EXPECT_EQ(recorder.NextRecord(s, {1, 1, SEP_COMMA}, AT).line,
                  std::string("2008.10.01 10:15:00,") + c.values + "\r\n");
    }
}

TEST(LogRecorder, AnyUnitChangeRenewsTheHeaderAndALostRecordOwesItAgain)
{
    LogRecorder recorder;
    LogSource s = TwoChannels(5, 6, 2, 2);
    recorder.NextRecord(s, {1, 0, SEP_TAB}, AT);
    EXPECT_EQ(recorder.NextRecord(s, {1, 0, SEP_TAB}, AT).header, "");
    s.unit2 = 1; // the channel that is not logged
    const LogRecord lost = recorder.NextRecord(s, {1, 0, SEP_TAB}, AT);
    EXPECT_EQ(lost.header, "Data i Godzina\tNatężenie światła1[kLx]\r\n");
    recorder.RecordLost(lost);
    EXPECT_EQ(recorder.NextRecord(s, {1, 0, SEP_TAB}, AT).header, lost.header);
    recorder.RecordLost(recorder.NextRecord(s, {1, 0, SEP_TAB}, AT));
    EXPECT_EQ(recorder.NextRecord(s, {1, 0, SEP_TAB}, AT).header, "");
}

} // namespace
