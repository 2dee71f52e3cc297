#include "recording/RecordSettingsRules.h"

namespace
{
constexpr int SECONDS_PER_DAY = 24 * 3600;
constexpr unsigned LONGEST_TIMER_MS = 0x7FFFFFFF; // the longest period a window timer accepts
} // namespace

bool LogFileNeedsReopen(const RecordingSettings& before, const RecordingSettings& after,
                        bool fileOpen)
{
    return !fileOpen || before.fileName != after.fileName || before.fileLog != after.fileLog ||
           before.fileSepFormat != after.fileSepFormat ||
           before.fileLogCanal1 != after.fileLogCanal1 ||
           before.fileLogCanal2 != after.fileLogCanal2;
}

IntervalTime IntervalToTime(int seconds)
{
    // A stored interval of a day or more (or a negative one) is shown within the day.
    const int s = (seconds % SECONDS_PER_DAY + SECONDS_PER_DAY) % SECONDS_PER_DAY;
    return {s / 3600, (s / 60) % 60, s % 60};
}

int IntervalFromTime(const IntervalTime& time, bool valid)
{
    const int seconds = valid ? time.hours * 3600 + time.minutes * 60 + time.seconds : 0;
    return seconds == 0 ? 1 : seconds;
}

std::string WithChosenExtension(const std::string& path, int filterIndex)
{
    const std::size_t nameStart = path.find_last_of("\\/:");
    const std::size_t dot = path.find('.', nameStart == std::string::npos ? 0 : nameStart + 1);
    if (dot != std::string::npos)
        return path;
    if (filterIndex == FILTER_TEXT)
        return path + ".txt";
    if (filterIndex == FILTER_CSV)
        return path + ".csv";
    return path;
}

unsigned LogTimerPeriodMs(int fileInterval)
{
    if (fileInterval < 1)
        return 1000;
    if (static_cast<unsigned>(fileInterval) > LONGEST_TIMER_MS / 1000)
        return LONGEST_TIMER_MS;
    return static_cast<unsigned>(fileInterval) * 1000;
}
