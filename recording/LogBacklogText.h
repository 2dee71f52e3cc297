#pragma once

// The status line's note while records wait for the log file.

#include <cstddef>
#include <string>

std::string LogBacklogStatus(std::size_t waiting);
