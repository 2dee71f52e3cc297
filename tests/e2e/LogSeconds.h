#pragma once

// The records of a one-channel log (semicolons) as one letter a second: 'v' the value given, '?'
// none ("???"), 'x' another value, and '!' for each second missing between two records. Headers
// are passed over; a line that is not a whole record gives "bad line: ..." instead.

#include <string>

std::string LogSeconds(const std::string& path, const std::string& value);
