#pragma once

// The measurement log file of this platform.

#ifdef _WIN32
#include "recording/LogFileWin.h"
using LogFile = LogFileWin;
#else
#include "recording/LogFilePosix.h"
using LogFile = LogFilePosix;
#endif
