#include "recording/Cp1250.h"
#include "recording/LogRecorder.h"
#include "recording/LogRotation.h"

#include <gtest/gtest.h>

namespace
{

const LocalTime AT{2026, 12, 7, 14, 3, 0, 60};

// The same two records (a two-channel meter in kLx and fine W/m2, then the link lost) in each
// layout other than qm7xx (the recorder's own tests): header, record, and the record after the link
// was lost.
TEST(LogStyle, EachLayoutWritesTheSameRecordsInItsOwnText)
{
    const std::tuple<LogStyle, int, const char*, const char*, const char*> layouts[] = {
        {LogStyle::Excel, SEP_TAB,
         "Data i Godzina;Natężenie światła1[kLx];Natężenie światła2[W/m2]\r\n",
         "2026-12-07 14:03:00;3,5;0,25\r\n", "2026-12-07 14:03:00;???;???\r\n"},
        {LogStyle::Iso, SEP_SEMICOLON, "time,light1_klx,light2_wm2\n",
         "2026-12-07T14:03:00+01:00,3.5,0.25\n", "2026-12-07T14:03:00+01:00,,\n"},
    };
    for (const auto& [style, separator, header, line, lostLine] : layouts)
    {
        LogSource source{{}, false, true, 3.456, 0.246, 2, 4};
        source.reading.secondChannel = 8;
        LogRecorder recorder;
        const LogLayout layout{true, true, separator, style};
        const LogRecord first = recorder.NextRecord(source, layout, AT);
        EXPECT_EQ(first.header, header);
        EXPECT_EQ(first.line, line);
        source.linkLost = true;
        EXPECT_EQ(recorder.NextRecord(source, layout, AT).Text(), lostLine);
    }
}

TEST(LogStyle, IsoTimestampsCarryTheOffsetFromUtc)
{
    const std::pair<int, const char*> offsets[] = {
        {0, "2026-12-07T14:03:00+00:00"},
        {-330, "2026-12-07T14:03:00-05:30"},
    };
    for (const auto& [minutes, text] : offsets)
    {
        LocalTime t = AT;
        t.utcOffsetMinutes = minutes;
        EXPECT_EQ(StyleTimestamp(LogStyle::Iso, t), text);
    }
}

TEST(LogStyle, OnlyIsoFilesAreUtf8)
{
    const LogRecord record{"Natężenie\r\n", "ł\r\n"};
    EXPECT_EQ(StyleFileRecord(LogStyle::Excel, record).Text(), "Nat\352\277enie\r\n\263\r\n");
    EXPECT_EQ(StyleFileRecord(LogStyle::Iso, record).Text(), record.Text());
}

TEST(LogRotation, TheDayGoesBeforeTheFileNamesExtension)
{
    const std::pair<const char*, const char*> paths[] = {
        {"light.csv", "light-2026-12-07.csv"},
        {"/var/log/a.b.csv", "/var/log/a.b-2026-12-07.csv"},
        {"C:\\logi.d\\pomiar", "C:\\logi.d\\pomiar-2026-12-07"},
        {"/srv/qm.d/light", "/srv/qm.d/light-2026-12-07"},
        {"/data/.log", "/data/.log-2026-12-07"},
    };
    for (const auto& [path, daily] : paths)
        EXPECT_EQ(DailyLogPath(path, AT), daily);
    EXPECT_TRUE(SameDay(AT, {2026, 12, 7, 23, 59, 59, 0}));
    EXPECT_FALSE(SameDay(AT, {2026, 11, 7, 14, 3, 0, 60}));
}

// Every byte against Windows' own code page: the toolkit's tests.
TEST(Cp1250, PolishLettersAreSingleBytesAndTheRestAQuestionMark)
{
    const std::pair<const char*, const char*> texts[] = {
        {"中 ä", "? \344"},
        {"a\xC3", "a?"},       // cut short
        {"\xE0\x80\xAF", "?"}, // overlong
        {"\xC3\x28", "?("},    // a lead byte without its continuation
    };
    for (const auto& [utf8, cp1250] : texts)
        EXPECT_EQ(Utf8ToCp1250(utf8), cp1250) << utf8;
}

} // namespace
