#pragma once

// Text conversion at the Windows API boundary: the program keeps its texts in UTF-8 and calls the
// W functions; the log file is written in code page 1250.

#include <string>

std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);

// Central European code page used by the log file. Characters that 1250 cannot hold become '?'.
// The log file itself is converted by the platform-free Utf8ToCp1250 (recording/Cp1250.h).
std::string WideToCp1250(const std::wstring& wide);
std::wstring Cp1250ToWide(const std::string& bytes);
