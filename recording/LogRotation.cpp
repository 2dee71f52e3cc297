#include "recording/LogRotation.h"

#include <cstdio>

std::string DailyLogPath(const std::string& path, const LocalTime& day)
{
    char date[32];
    std::snprintf(date, sizeof date, "-%04d-%02d-%02d", day.year, day.month, day.day);
    const std::size_t nameStart = path.find_last_of("/\\") + 1; // 0 when there is no folder
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot <= nameStart)
        return path + date;
    return path.substr(0, dot) + date + path.substr(dot);
}

bool SameDay(const LocalTime& a, const LocalTime& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}
