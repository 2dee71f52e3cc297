#pragma once

// The log file's code page: Central European 1250, the single-byte form of the program's UTF-8
// texts. Platform-free, so that both front ends write the very same bytes.

#include <string>

// ASCII stays as it is; a character that 1250 cannot hold, or a byte that is not part of valid
// UTF-8, becomes '?'.
std::string Utf8ToCp1250(const std::string& utf8);
