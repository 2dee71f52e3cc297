#pragma once

#include <string>

// One record: the header line when one was due (else empty), and the record line. Both end in
// CR LF; they go into the file together, header first.
struct LogRecord
{
    std::string header;
    std::string line;
    std::string Text() const { return header + line; }
};
