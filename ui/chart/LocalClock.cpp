#include "ui/chart/LocalClock.h"

#include <cinttypes>
#include <cstdio>

namespace
{
constexpr std::int64_t SECONDS_PER_DAY = 86400;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

// Howard Hinnant's civil_from_days.
void CivilFromDays(std::int64_t days, int& year, int& month, int& day)
{
    days += 719468;
    const std::int64_t era = FloorDiv(days, 146097);
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}
} // namespace

std::int64_t DaysFromCivil(int year, int month, int day)
{
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

ClockTime LocalClockAt(std::int64_t epochSecond, UtcOffsetFn offset)
{
    const std::int64_t local = epochSecond + offset(epochSecond);
    const std::int64_t days = FloorDiv(local, SECONDS_PER_DAY);
    const std::int64_t inDay = local - days * SECONDS_PER_DAY;
    ClockTime t{};
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(inDay / 3600);
    t.minute = static_cast<int>(inDay / 60 % 60);
    t.second = static_cast<int>(inDay % 60);
    return t;
}

std::int64_t LocalMidnightOf(std::int64_t epochSecond, UtcOffsetFn offset)
{
    const std::int64_t local = epochSecond + offset(epochSecond);
    const std::int64_t localMidnight = FloorDiv(local, SECONDS_PER_DAY) * SECONDS_PER_DAY;
    // Across a change of the offset since midnight (summer time) the offset of midnight counts.
    std::int64_t midnight = localMidnight - offset(epochSecond);
    midnight = localMidnight - offset(midnight);
    return midnight <= epochSecond ? midnight : localMidnight - offset(epochSecond);
}

std::string DurationText(std::int64_t seconds)
{
    if (seconds < 0)
        seconds = 0;
    char text[48];
    std::snprintf(text, sizeof text, "%02" PRId64 ":%02d:%02d", seconds / 3600,
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}
