#pragma once

// What the headless logger is told to do, parsed from its command line. Every option is explained
// by LoggerUsage().

#include "recording/LogFormat.h"
#include "recording/LogStyle.h"

#include <string>
#include <vector>

// Exit status of qm7xx-log.
enum LoggerExit : int
{
    EXIT_DONE = 0,    // stopped by Ctrl+C or a termination request, every record written
    EXIT_FAILED = 1,  // the log file could not be opened, or records were left unwritten
    EXIT_NO_PORT = 2, // the port could not be opened at start (without --wait)
    EXIT_USAGE = 64,  // bad options
};

constexpr int LONGEST_INTERVAL_SECONDS = 86400;

struct LoggerOptions
{
    std::string port;
    std::string out; // empty: the records go to standard output only
    int intervalSeconds = 1;
    bool channel1 = true;
    bool channel2 = true;
    int sepFormat = SEP_TAB;
    LogStyle style = LogStyle::Qm7xx;
    bool rotateDaily = false;
    bool overwrite = false;
    bool quiet = false;
    bool wait = false;
    bool help = false;
    bool version = false;
};

struct LoggerParse
{
    LoggerOptions options;
    std::string error; // empty when the command line was good

    bool Ok() const { return error.empty(); }
};

// Arguments without the program name.
LoggerParse ParseLoggerOptions(const std::vector<std::string>& args);

std::string LoggerUsage();
