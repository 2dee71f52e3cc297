#pragma once

// The local time now, with its offset from UTC, as the log records it.

#include "recording/LogFormat.h"

LocalTime LocalTimeNow();
