#pragma once

// The texts of the web link: the message for a target that cannot be opened, and the command line
// that opens a target with the program registered for web pages when the shell cannot. Texts are
// UTF-8. Platform-free.

#include <string>

// The message box text for a code answered by the shell or by the start of the fallback command:
// "Unable to open hyperlink:" and the code's text after a blank line.
std::string OpenErrorText(int code);

// The registered open command cut before its placeholder ("%1" in quotes, else a bare %1, else
// nothing is cut), then a blank and the target.
std::string BuildOpenCommand(const std::string& registeredCommand, const std::string& target);

// The code the fallback answers for a start that failed with this system error, as a start of a
// program reports it: ERROR_FILE_NOT_FOUND (2), ERROR_PATH_NOT_FOUND (3), ERROR_ACCESS_DENIED (5)
// and the other small codes unchanged, a bad executable image as ERROR_BAD_FORMAT (11), anything
// else as 0 (out of memory or resources). Never above 31, so never mistaken for a success.
int FailedStartCode(unsigned long systemError);
