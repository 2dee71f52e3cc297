#pragma once

// The simulator's --help text: every option with its values and defaults, and the exit status.

#include <string>

std::string UsageText();
