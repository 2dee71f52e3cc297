#pragma once

// The rules of the recording settings: what they hold, when new settings need the log file opened
// anew, how the interval is shown as a time of day, the extension of a chosen file name and the
// period of the log timer.

#include <string>

struct RecordingSettings
{
    std::string fileName; // UTF-8, full path
    bool fileLog = false;
    bool fileLogCanal1 = true;
    bool fileLogCanal2 = true;
    int fileSepFormat = 1; // a separator code (recording/LogFormat.h)
    int fileInterval = 1;  // seconds
};

// New settings with logging on open the file anew unless it is open and only the interval changed
// (file names compared exactly).
bool LogFileNeedsReopen(const RecordingSettings& before, const RecordingSettings& after,
                        bool fileOpen);

// The interval as the time of day the picker shows (modulo 24 hours).
struct IntervalTime
{
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
};
IntervalTime IntervalToTime(int seconds);
// The interval a picker time stands for; 00:00:00 (or an invalid time) is 1 second.
int IntervalFromTime(const IntervalTime& time, bool valid = true);

// The file chooser's filters, in order; a chosen name without an extension gets the extension of
// the filter that was selected (1-based index, as the system's dialog reports it).
constexpr int FILTER_TEXT = 1;
constexpr int FILTER_CSV = 2;
std::string WithChosenExtension(const std::string& path, int filterIndex);

// The log timer's period for an interval: at least 1 second, at most what a window timer takes.
unsigned LogTimerPeriodMs(int fileInterval);
