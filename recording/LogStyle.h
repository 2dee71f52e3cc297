#pragma once

// The layouts a log file can take. Qm7xx is the desktop program's own; the others change only
// the text of each part of a record, never which records or headers are written:
// - Excel: semicolons, decimal commas and "2026-12-07 14:03:00", in code page 1250 with CR LF,
//   which a spreadsheet set to Polish opens as numbers and dates without asking;
// - Iso: UTF-8 with LF, commas, decimal points, ISO 8601 local time with its UTC offset, plain
//   column names with units, and an empty field for a value the meter did not give, for pandas,
//   R and databases.

#include "recording/LogFormat.h"
#include "recording/LogRecord.h"

#include <string>

enum class LogStyle
{
    Qm7xx,
    Excel,
    Iso,
};

// The chosen separator (a separator code) for Qm7xx; the style's own for the others.
const char* StyleSeparator(LogStyle style, int sepFormat);
std::string StyleTimestamp(LogStyle style, const LocalTime& time);
// A channel's value as logged, or what stands for no valid value.
std::string StyleValue(LogStyle style, bool valid, double raw, int unitCode);
const char* StyleLineEnd(LogStyle style);
// The header line for a selection (LogSelection), line end included; empty for no channel.
std::string StyleHeader(LogStyle style, int selection, int unit1, int unit2, const char* separator);

// The record's bytes as they go into the file: code page 1250, or UTF-8 for Iso.
LogRecord StyleFileRecord(LogStyle style, const LogRecord& record);
