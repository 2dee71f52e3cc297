#pragma once

// The values the simulator's options take, each read from its command-line text. Each parser
// returns false, and leaves its result untouched, when the text is not such a value.

#include "tools/qm7xx-sim/SimOptions.h"

#include <string>

// A whole decimal number from min to max.
bool ParseInt(const std::string& text, long min, long max, int& out);

// A finite decimal number.
bool ParseDouble(const std::string& text, double& out);

// Frames as "N", "N-M", "N-" (from N on) or "all".
bool ParseFrameRange(const std::string& text, FrameRange& out);

// "700" or "701", also written "QM-700", "qm-700" or "qm700".
bool ParseModel(const std::string& text, MeterModel& out);

// The QM-700's unit: "klx" or "wm2".
bool ParseUnit(const std::string& text, bool& klx);

// A QM-701 channel's range: "wm2", "klx", "umol", "wm2-fine" or a raw code from 0 to 7.
bool ParseRangeCode(const std::string& text, int& code);

// "1" or "2" channels: whether the QM-701's second channel is on.
bool ParseChannels(const std::string& text, bool& second);
