#pragma once

// The text of the main window's status line: the meter's model, number and state, the channels
// of a two-channel meter, and the recording interval while recording runs. UTF-8.

#include "meter/MeterReading.h"

#include <string>

// linkLost and twoChannelMode count as set when non-zero. Only the flags of the current frame
// kind are read: measurementError in one-channel mode, measurementError1/2 and secondChannel in
// two-channel mode.
std::string BuildStatusText(const MeterReading& reading, int linkLost, int twoChannelMode,
                            bool recording, int fileIntervalSeconds);
