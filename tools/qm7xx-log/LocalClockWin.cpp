#include "tools/qm7xx-log/LocalClock.h"

#include <windows.h>

namespace
{

long long Minutes(const SYSTEMTIME& time)
{
    FILETIME file = {};
    SystemTimeToFileTime(&time, &file);
    const ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}}; // 100 ns
    return static_cast<long long>(ticks.QuadPart / 600000000ULL);
}

} // namespace

LocalTime LocalTimeNow()
{
    // One moment, in UTC and in local time, so that the offset is the one in force then.
    SYSTEMTIME utc = {};
    GetSystemTime(&utc);
    SYSTEMTIME local = utc;
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    return {local.wYear,
            local.wMonth,
            local.wDay,
            local.wHour,
            local.wMinute,
            local.wSecond,
            static_cast<int>(Minutes(local) - Minutes(utc))};
}
