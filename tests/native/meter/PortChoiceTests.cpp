#include "meter/PortChoice.h"

#include <gtest/gtest.h>

namespace
{

TEST(PortChoice, TheNumberAfterTheFirstThreeCharactersIsThePort)
{
    EXPECT_EQ(ParsePortChoice("COM7"), 7);
    EXPECT_EQ(ParsePortChoice("COM12 (USB Serial Port)"), 12);
    EXPECT_EQ(ParsePortChoice("   COM3"), 3) << "leading white space is removed first";
    EXPECT_EQ(ParsePortChoice("xyz9"), 9) << "the first three characters are not examined";
}

TEST(PortChoice, ShortTextsAndNumbersThatAreNoPortGiveZero)
{
    EXPECT_EQ(ParsePortChoice(""), 0);
    EXPECT_EQ(ParsePortChoice("COM"), 0);
    EXPECT_EQ(ParsePortChoice("  COM"), 0);
    EXPECT_EQ(ParsePortChoice("COM0"), 0);
    EXPECT_EQ(ParsePortChoice("COM-4"), 0);
    EXPECT_EQ(ParsePortChoice("COMx"), 0);
}

TEST(PortChoice, AnAbsurdlyLongNumberIsRefusedInsteadOfOverflowing)
{
    EXPECT_EQ(ParsePortChoice("COM99999999999999999999"), 0);
    EXPECT_EQ(ParsePortChoice("COM2147483647"), 2147483647);
}

} // namespace
