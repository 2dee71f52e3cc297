#pragma once

// The text of the main window's status line: the meter's model, number and state, the channels
// of a two-channel meter, a reconnection in progress, and the recording interval and backlog while
// recording runs. UTF-8.

#include "meter/MeterReading.h"

#include <string>

struct StatusFacts
{
    MeterReading reading; // only the flags of the current frame kind are read
    bool linkLost = true;
    bool twoChannelMode = false;
    int reconnectingPort = 0; // the port being reopened while the link is lost; 0: none
    bool recording = false;
    int fileIntervalSeconds = 1;
    int logBacklog = 0; // records waiting for the log file to take them again
};

std::string BuildStatusText(const StatusFacts& facts);
