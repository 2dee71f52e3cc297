#pragma once

// Daily log files: each local day's records go to a file of their own, named after the day.

#include "recording/LogFormat.h"

#include <string>

// The day's file: "light.csv" on 7 December 2026 is "light-2026-12-07.csv". The date goes before
// the extension of the file name (not of a folder); a name with none, or only a leading dot,
// gets it at its end.
std::string DailyLogPath(const std::string& path, const LocalTime& day);

bool SameDay(const LocalTime& a, const LocalTime& b);
