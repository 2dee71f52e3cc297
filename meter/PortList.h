#pragma once

// The list of COM ports the port dialog offers: which device names count as COM ports, the list
// text the scan writes from what it found, the entries shown to the user, and how an entry is
// recognised and read back. Texts are UTF-8.

#include <array>
#include <string>
#include <vector>

constexpr int PORT_TABLE_SIZE = 256; // COM1..COM256; entry i is COM(i + 1)

struct PortEntry
{
    bool present = false;
    std::string description; // empty when the system has none
};
using PortTable = std::array<PortEntry, PORT_TABLE_SIZE>;

// The port a device's "PortName" names: "COM" (in capitals) followed by decimal digits and
// nothing else, 1..255. 0 for any other name.
int PortNumberOfName(const std::string& portName);

// A description that ends in " (COM" + digits + ")", where that " (COM" is its first one, without
// that ending; any other description unchanged.
std::string WithoutPortEnding(const std::string& description);

// One line per present port in ascending order, each ended by "\n": "COMn" or
// "COMn:description" (the description without its " (COMn)" ending). False, with nothing
// written, when the text cannot be allocated.
bool BuildPortListText(const PortTable& table, std::string& text, int& presentCount);

// The entries the dialog shows, in order: "COMn" or "COMn (description)". Empty lines and text
// after the last "\n" are skipped.
std::vector<std::string> PortListEntries(const std::string& listText);

// The entry to select for the port in use: the (last) one that is "COM" and exactly this number,
// at its end or followed by a character that is not a digit, so that COM1 is not COM10. -1 when
// none matches or no port is in use (0).
int PreselectedEntry(const std::vector<std::string>& entries, int portInUse);

// The port number in the dialog's chosen text: leading white space removed, the first three
// characters skipped, then the leading number (atoi rules; the description after it is ignored).
// 0 when the text is too short or names no positive number.
int ParsePortChoice(const std::string& text);
