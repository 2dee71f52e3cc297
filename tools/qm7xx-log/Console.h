#pragma once

// The logger's console: its arguments and the records it prints, in UTF-8 whatever the system's
// code page (a Windows console is written in UTF-16).

#include <string>
#include <vector>

// The command-line arguments without the program name.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// One line to standard output, flushed at once so that a pipe sees each record as it is made.
void PrintLine(const std::string& utf8);
