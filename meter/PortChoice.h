#pragma once

// Reading the port number out of the port dialog's text ("COM7", "COM7 (USB Serial Port)").

#include <string>

// The number after the first three characters (atoi rules: leading digits, the rest ignored) once
// leading white space is removed; 0 when the text is too short or names no positive number.
int ParsePortChoice(const std::string& text);
