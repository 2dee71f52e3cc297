#pragma once

// The records of the measurement log: which header goes before which record, and what a record
// says about each channel at a given moment. The file and the clock are the caller's.

#include "meter/MeterReading.h"
#include "recording/LogFormat.h"
#include "recording/LogRecord.h"

#include <string>

// The main window's reading state at the moment of a record.
struct LogSource
{
    MeterReading reading;
    int linkLost = 1;
    int twoChannelMode = 0;
    double reading1 = 0.0; // raw values last handed to the panels
    double reading2 = 0.0;
    int unit1 = 0; // unit codes of panel 1 and panel 2
    int unit2 = 0;
};

// The recording choices a record depends on.
struct LogLayout
{
    int fileLogCanal1 = 1;
    int fileLogCanal2 = 1;
    int fileSepFormat = SEP_TAB;
};

class LogRecorder
{
public:
    // A header goes before the next record (a file just opened).
    int headerPending = 0;
    // Unit codes of the panels at the previous record; -1: none yet.
    int loggedUnit1 = -1;
    int loggedUnit2 = -1;

    // The next record. A unit change on either panel, logged or not, renews the header. With no
    // channel selected the line is the separator alone: no timestamp, no header.
    LogRecord NextRecord(const LogSource& source, const LogLayout& layout, const LocalTime& now);

    // The record did not reach the file: its header, if it had one, is due again.
    void RecordLost(const LogRecord& record);
};
