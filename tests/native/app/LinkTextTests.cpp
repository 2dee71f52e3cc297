#include "app/LinkText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace
{

TEST(OpenErrorText, ACodeOfTheTableHasItsTextAndAnyOtherIsNamed)
{
    const std::pair<int, const char*> cases[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {32, "The specified dynamic-link library was not found."},
        {1, "Unknown Error (1) occurred."},
        {-2147483647 - 1, "Unknown Error (-2147483648) occurred."},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(OpenErrorText(code), std::string("Unable to open hyperlink:\n\n") + text) << code;
}

TEST(BuildOpenCommand, CutsTheRegisteredCommandAtItsPlaceholderAndAppendsTheTarget)
{
    const std::string browser = R"("C:\Programy\Przeglądarka\browser.exe")";
    const std::string longOptions = " -profile " + std::string(3000, 'o'); // beyond any buffer
    const std::string target = "http://www.example.pl/po/" + std::string(2000, 't') + ".html";
    const std::pair<std::string, std::string> cases[] = {
        {browser + R"( "%1")", browser + "  " + target}, // the blank before the placeholder stays
        {browser + " -nohome %1", browser + " -nohome  " + target},
        {browser + " -nohome", browser + " -nohome " + target},
        {browser + R"( %1 -page "%1")", browser + " %1 -page  " + target}, // quoted one first
        {browser + longOptions + R"( "%1")", browser + longOptions + "  " + target},
    };
    for (const auto& [registered, expected] : cases)
        EXPECT_EQ(BuildOpenCommand(registered, target), expected) << registered;
}

TEST(FailedStartCode, KeepsTheCodesOfTheTableAndNeverPassesForASuccess)
{
    EXPECT_EQ(FailedStartCode(2), 2);
    EXPECT_EQ(FailedStartCode(193), 11); // not a valid program: the bad format code
    for (unsigned long error = 0; error < 70000; error += 7)
        ASSERT_LE(FailedStartCode(error), 31) << "error " << error;
}

} // namespace
