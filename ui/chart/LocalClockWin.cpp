#include "ui/chart/LocalClock.h"

#include <ctime>

long SystemUtcOffset(std::int64_t epochSecond)
{
    const std::time_t t = static_cast<std::time_t>(epochSecond);
    std::tm local{};
    if (localtime_s(&local, &t) != 0)
        return 0;
    const std::int64_t asUtc =
        DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) * 86400 +
        local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return static_cast<long>(asUtc - epochSecond);
}
