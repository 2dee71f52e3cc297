#include "meter/PortList.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace
{

using Entries = std::vector<std::string>;

TEST(PortList, TheEntryShownForADeviceOfTheDatabaseAndTheNamesRefused)
{
    // A device's "PortName", its description, and the entry the dialog shows for it.
    const char* cases[][3] = {
        {"COM7", "USB Serial Port (COM7)", "COM7 (USB Serial Port)"},
        {"COM3", "Port (COM12)", "COM3 (Port)"}, // the number in the ending is not compared
        {"COM7", "Modem (COM7) internal", "COM7 (Modem (COM7) internal)"},
        {"COM5", "A (COM1) B (COM2)", "COM5 (A (COM1) B (COM2))"}, // the first " (COM" counts
        {"COM2", "Port: A:B", "COM2 (Port: A:B)"},
        {"COM2", "Two\nlines", "COM2 (Two lines)"},
        {"COM255", "High", "COM255 (High)"},
        {"COM007", "Zeros", "COM7 (Zeros)"},
    };
    for (const auto& [portName, description, entry] : cases)
    {
        PortTable table;
        table.at(PortNumberOfName(portName) - 1) = {true, description};
        std::string text;
        int count = 0;
        ASSERT_TRUE(BuildPortListText(table, text, count));
        EXPECT_EQ(PortListEntries(text), Entries{entry}) << portName << " " << description;
    }
    for (const char* name : {"com3", "COM3x", "LPT1", "COM0", "COM256", "COM", "COM 3", "COM+3",
                             "COM99999999999999999999"})
        EXPECT_EQ(PortNumberOfName(name), 0) << name;
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
    EXPECT_EQ(ParsePortChoice("COM12 (Port (COM3))"), 12);
    EXPECT_EQ(ParsePortChoice("   COM3"), 3);
    EXPECT_EQ(ParsePortChoice("xyz9"), 9);
    EXPECT_EQ(ParsePortChoice("COM2147483647"), INT_MAX);
    for (const char* text : {"", "  COM", "COM0", "COM-4", "COMx", "COM99999999999"})
        EXPECT_EQ(ParsePortChoice(text), 0) << '"' << text << '"';
}

} // namespace
