#pragma once

// The records of the measurement log: which header goes before which record, and what a record
// says about each channel at a given moment. The file and the clock are the caller's.

#include "meter/MeterLink.h"
#include "recording/LogFormat.h"
#include "recording/LogRecord.h"
#include "recording/LogStyle.h"

#include <string>

// The recording choices a record depends on.
struct LogLayout
{
    bool fileLogCanal1 = true;
    bool fileLogCanal2 = true;
    int fileSepFormat = SEP_TAB;
    LogStyle style = LogStyle::Qm7xx; // the desktop program writes its own
};

class LogRecorder
{
public:
    // A header goes before the next record (a file just opened).
    bool headerPending = false;
    // Unit codes of the panels at the previous record; -1: none yet.
    int loggedUnit1 = -1;
    int loggedUnit2 = -1;

    // The next record. A unit change on either panel, logged or not, renews the header. With no
    // channel selected the line is the separator alone: no timestamp, no header.
    LogRecord NextRecord(const LogSource& source, const LogLayout& layout, const LocalTime& now);
};
