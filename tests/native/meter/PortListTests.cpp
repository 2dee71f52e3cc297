#include "meter/PortList.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace
{

struct Device
{
    std::string portName; // "PortName" in the device database
    std::string description;
};

struct ListCase
{
    const char* what;
    std::vector<Device> devices;
    std::vector<int> probed; // ports found only by the probe
    std::vector<std::string> entries;
};

// The table as the scan fills it: database devices whose name is accepted, then probe hits.
PortTable TableOf(const ListCase& c)
{
    PortTable table;
    for (const Device& device : c.devices)
    {
        if (const int port = PortNumberOfName(device.portName))
            table[port - 1] = {true, device.description};
    }
    for (int port : c.probed)
        table[port - 1].present = true;
    return table;
}

const ListCase LIST_CASES[] = {
    {"a ' (COMn)' ending is cut",
     {{"COM7", "USB Serial Port (COM7)"}},
     {},
     {"COM7 (USB Serial Port)"}},
    {"the number in the ending is not compared", {{"COM3", "Port (COM12)"}}, {}, {"COM3 (Port)"}},
    {"an ending that is not last stays",
     {{"COM7", "Modem (COM7) internal"}},
     {},
     {"COM7 (Modem (COM7) internal)"}},
    {"only the first ' (COM' counts",
     {{"COM5", "A (COM1) B (COM2)"}},
     {},
     {"COM5 (A (COM1) B (COM2))"}},
    {"no digits, no cut", {{"COM5", "Port (COM)"}}, {}, {"COM5 (Port (COM))"}},
    {"a description without ending", {{"COM2", "Standard port"}}, {}, {"COM2 (Standard port)"}},
    {"a colon in the description", {{"COM2", "Port: A:B"}}, {}, {"COM2 (Port: A:B)"}},
    {"a line break in the description", {{"COM2", "Two\nlines\r"}}, {}, {"COM2 (Two lines )"}},
    {"no description", {{"COM4", ""}}, {}, {"COM4"}},
    {"found only by the probe", {}, {12}, {"COM12"}},
    {"COM256 only by the probe", {{"COM256", "Refused"}}, {256}, {"COM256"}},
    {"ascending order",
     {{"COM9", "Nine (COM9)"}, {"COM1", "One"}},
     {4},
     {"COM1 (One)", "COM4", "COM9 (Nine)"}},
    {"a later device of the same port wins",
     {{"COM6", "First"}, {"COM6", "Second"}},
     {},
     {"COM6 (Second)"}},
    {"refused names",
     {{"com3", "a"}, {"COM3x", "b"}, {"LPT1", "c"}, {"COM0", "d"}, {"COM256", "e"}},
     {},
     {}},
    {"refused names, strict digits",
     {{"COM", "a"},
      {"COM 3", "b"},
      {"COM+3", "c"},
      {"COM-3", "d"},
      {"COM99999999999999999999", "e"}},
     {},
     {}},
    {"the extremes accepted",
     {{"COM1", "Low"}, {"COM255", "High"}, {"COM007", "Zeros"}},
     {},
     {"COM1 (Low)", "COM7 (Zeros)", "COM255 (High)"}},
    {"nothing found", {}, {}, {}},
};

TEST(PortList, EntriesShownForWhatTheScanFound)
{
    for (const ListCase& c : LIST_CASES)
    {
        const PortTable table = TableOf(c);
        std::string text = "stale";
        int count = -1;
        ASSERT_TRUE(BuildPortListText(table, text, count)) << c.what;
        EXPECT_EQ(PortListEntries(text), c.entries) << c.what << "; list text: " << text;
        EXPECT_EQ(count, static_cast<int>(c.entries.size())) << c.what;
    }
}

TEST(PortList, ListTextHasOneLineAPortWithTheDescriptionAfterAColon)
{
    PortTable table;
    table[0] = {true, "Port (COM1)"};
    table[255] = {true, ""};
    std::string text;
    int count = 0;
    ASSERT_TRUE(BuildPortListText(table, text, count));
    EXPECT_EQ(text, "COM1:Port\nCOM256\n");
    // Lines the scan does not write: an empty one, and text without a final "\n".
    EXPECT_EQ(PortListEntries("\nCOM2\n\nCOM3:x\nCOM4"),
              (std::vector<std::string>{"COM2", "COM3 (x)"}));
}

TEST(PortList, ThePortInUseIsPreselectedOnlyByItsExactNumber)
{
    const struct
    {
        std::vector<std::string> entries;
        int portInUse;
        int selected;
    } cases[] = {
        {{"COM1", "COM10"}, 1, 0},
        {{"COM10", "COM1"}, 1, 1},
        {{"COM1 (Port)", "COM10 (Port)"}, 10, 1},
        {{"COM1 (Port)", "COM10 (Port)"}, 1, 0},
        {{"COM10", "COM12"}, 1, -1},
        {{"COM3", "COM4"}, 0, -1},
        {{}, 3, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PreselectedEntry(c.entries, c.portInUse), c.selected)
            << "port " << c.portInUse << ", first entry "
            << (c.entries.empty() ? "none" : c.entries[0]);
}

TEST(PortList, TheChosenEntryGivesItsPortNumber)
{
    const struct
    {
        const char* text;
        int port;
    } cases[] = {
        {"COM7", 7},
        {"COM12 (USB Serial Port (COM3))", 12},
        {"   COM3", 3},
        {"xyz9", 9}, // the first three characters are not examined
        {"COM2147483647", INT_MAX},
        {"", 0},
        {"COM", 0},
        {"  COM", 0},
        {"COM0", 0},
        {"COM-4", 0},
        {"COMx", 0},
        {"COM99999999999999999999", 0}, // no overflow
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParsePortChoice(c.text), c.port) << '"' << c.text << '"';
}

} // namespace
