#include "meter/PortList.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace
{

using Entries = std::vector<std::string>;

TEST(PortList, TheEntryShownForADeviceOfTheDatabase)
{
    const struct
    {
        const char* portName;
        const char* description;
        const char* entry; // null: not listed
    } cases[] = {
        {"COM7", "USB Serial Port (COM7)", "COM7 (USB Serial Port)"},
        {"COM3", "Port (COM12)", "COM3 (Port)"}, // the number in the ending is not compared
        {"COM7", "Modem (COM7) internal", "COM7 (Modem (COM7) internal)"},
        {"COM5", "A (COM1) B (COM2)", "COM5 (A (COM1) B (COM2))"}, // the first " (COM" counts
        {"COM5", "Port (COM)", "COM5 (Port (COM))"},
        {"COM2", "Port: A:B", "COM2 (Port: A:B)"},
        {"COM2", "Two\nlines", "COM2 (Two lines)"},
        {"COM4", "", "COM4"},
        {"COM1", "Low", "COM1 (Low)"},
        {"COM255", "High", "COM255 (High)"},
        {"COM007", "Zeros", "COM7 (Zeros)"},
        {"com3", "x", nullptr},
        {"COM3x", "x", nullptr},
        {"LPT1", "x", nullptr},
        {"COM0", "x", nullptr},
        {"COM256", "x", nullptr},
        {"COM", "x", nullptr},
        {"COM 3", "x", nullptr},
        {"COM+3", "x", nullptr},
        {"COM99999999999999999999", "x", nullptr},
    };
    for (const auto& c : cases)
    {
        PortTable table;
        if (const int port = PortNumberOfName(c.portName))
            table[port - 1] = {true, c.description};
        std::string text;
        int count = -1;
        ASSERT_TRUE(BuildPortListText(table, text, count));
        EXPECT_EQ(PortListEntries(text), c.entry ? Entries{c.entry} : Entries{})
            << c.portName << " \"" << c.description << "\", list text \"" << text << '"';
        EXPECT_EQ(count, c.entry ? 1 : 0) << c.portName;
    }
}

TEST(PortList, OneLineAPortInAscendingOrderAndPortsOfTheProbeBare)
{
    PortTable table;
    table[8] = {true, "Nine (COM9)"};
    table[0] = {true, "One"};
    table[11].present = true;
    table[255].present = true;
    std::string text;
    int count = 0;
    ASSERT_TRUE(BuildPortListText(table, text, count));
    EXPECT_EQ(text, "COM1:One\nCOM9:Nine\nCOM12\nCOM256\n");
    EXPECT_EQ(count, 4);
    EXPECT_EQ(PortListEntries(text), (Entries{"COM1 (One)", "COM9 (Nine)", "COM12", "COM256"}));
    EXPECT_EQ(PortListEntries("\nCOM2\n\nCOM3:x\nCOM4"), (Entries{"COM2", "COM3 (x)"}));
}

TEST(PortList, ThePortInUseIsPreselectedOnlyByItsExactNumber)
{
    EXPECT_EQ(PreselectedEntry({"COM1", "COM10"}, 1), 0);
    EXPECT_EQ(PreselectedEntry({"COM10 (A)", "COM1 (B)"}, 1), 1);
    EXPECT_EQ(PreselectedEntry({"COM1 (A)", "COM10 (B)"}, 10), 1);
    EXPECT_EQ(PreselectedEntry({"COM10", "COM12"}, 1), -1);
    EXPECT_EQ(PreselectedEntry({"COM3"}, 0), -1);
}

TEST(PortList, TheChosenEntryGivesItsPortNumber)
{
    const struct
    {
        const char* text;
        int port;
    } cases[] = {
        {"COM12 (Port (COM3))", 12},
        {"   COM3", 3},
        {"xyz9", 9},
        {"COM2147483647", INT_MAX},
        {"", 0},
        {"  COM", 0},
        {"COM0", 0},
        {"COM-4", 0},
        {"COMx", 0},
        {"COM99999999999", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParsePortChoice(c.text), c.port) << '"' << c.text << '"';
}

} // namespace
