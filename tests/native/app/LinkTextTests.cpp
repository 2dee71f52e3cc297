#include "app/LinkText.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(OpenErrorText, EveryCodeOfTheTableHasItsTextAndAnyOtherIsNamed)
{
    const struct
    {
        int code;
        const char* text;
    } cases[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere "
             "being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {1, "Unknown Error (1) occurred."},
        {4, "Unknown Error (4) occurred."},
        {-2147483647 - 1, "Unknown Error (-2147483648) occurred."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OpenErrorText(c.code), std::string("Unable to open hyperlink:\n\n") + c.text)
            << "code " << c.code;
}

TEST(BuildOpenCommand, CutsTheRegisteredCommandAtItsPlaceholderAndAppendsTheTarget)
{
    const std::string browser = R"("C:\Programy\Przeglądarka\browser.exe")";
    const std::string longOptions = " -profile " + std::string(3000, 'o'); // beyond any buffer
    const std::string target = "http://www.example.pl/po/" + std::string(2000, 't') + ".html";
    const struct
    {
        std::string registered;
        std::string expected;
    } cases[] = {
        {browser + R"( "%1")", browser + "  " + target}, // the blank before the placeholder stays
        {browser + " -nohome %1", browser + " -nohome  " + target},
        {browser + " -nohome", browser + " -nohome " + target},
        {browser + R"( %1 -page "%1")", browser + " %1 -page  " + target}, // quoted one first
        {browser + longOptions + R"( "%1")", browser + longOptions + "  " + target},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildOpenCommand(c.registered, target), c.expected) << c.registered;
}

TEST(FailedStartCode, KeepsTheCodesOfTheTableAndNeverPassesForASuccess)
{
    EXPECT_EQ(FailedStartCode(2), 2);
    EXPECT_EQ(FailedStartCode(193), 11); // not a valid program: the bad format code
    for (unsigned long error = 0; error < 70000; error += 7)
        ASSERT_LE(FailedStartCode(error), 31) << "error " << error;
}

} // namespace
