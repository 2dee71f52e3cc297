#pragma once

// The history keeps time as seconds since 1970-01-01 UTC; the user reads a local clock. The offset
// between them is asked of a function so that tests can fix it. Platform-free.

#include <cstdint>
#include <string>

// Seconds east of UTC in effect at that instant.
using UtcOffsetFn = long (*)(std::int64_t epochSecond);

// The system's local time zone (the C runtime's localtime).
long SystemUtcOffset(std::int64_t epochSecond);

struct ClockTime
{
    int year, month, day, hour, minute, second;
};

ClockTime LocalClockAt(std::int64_t epochSecond, UtcOffsetFn offset);

// The first second of the local day that holds epochSecond.
std::int64_t LocalMidnightOf(std::int64_t epochSecond, UtcOffsetFn offset);

// "hh:mm:ss" of a duration; hours go past 24 (and past two digits) as needed.
std::string DurationText(std::int64_t seconds);

// Day number since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(int year, int month, int day);
