#pragma once

// The text of the measurement log: separators, timestamps, values and the header line. Texts are
// UTF-8 here; the log file holds them in code page 1250 (the writer converts).

#include <string>

enum SeparatorCode : int
{
    SEP_TAB = 1,
    SEP_COMMA = 2,
    SEP_SEMICOLON = 3,
};

// The column separator for a separator code; any other code is a tab.
const char* LogSeparator(int sepFormat);

// A moment of local time as the system clock gives it.
struct LocalTime
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int utcOffsetMinutes = 0; // local time minus UTC (only ISO 8601 timestamps show it)
};

// "2008.10.01 10:15:00": no milliseconds.
std::string FormatLogTimestamp(const LocalTime& time);

// The meter's raw value as logged: two decimals for W/m2 at 0.01 resolution, one otherwise.
std::string FormatLogValue(double raw, int unitCode);

// Which channels a record carries, from the two channel selections.
enum LogSelection : int
{
    LOG_NO_CHANNEL = 0,
    LOG_CHANNEL1 = 1,
    LOG_CHANNEL2 = 2,
    LOG_BOTH_CHANNELS = 3,
};
int LogSelectionOf(bool fileLogCanal1, bool fileLogCanal2);

// The header line, CR LF included, naming the timestamp column and each logged channel with its
// unit. A unit code outside 1..4 leaves the unit out of that channel's column name. Empty for
// LOG_NO_CHANNEL.
std::string BuildLogHeader(int selection, int unit1, int unit2, const char* separator);
