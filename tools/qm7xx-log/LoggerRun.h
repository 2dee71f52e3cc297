#pragma once

// The logger's work from start to stop: the port read and reopened, each byte and the watchdog
// given to the meter link, one record per interval made by the desktop program's record rules and
// handed to the log writer, and printed. Returns the exit status (LoggerExit).

#include "tools/qm7xx-log/LoggerOptions.h"

int RunLogger(const LoggerOptions& options);
