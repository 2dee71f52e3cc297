#include "units/NumericText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

TEST(NumericText, ReadsTheFieldAsTyped)
{
    const std::string many(1000, '7');
    // What is typed, and what the field shows after reading it ("-": refused as malformed).
    const std::pair<std::string, std::string> cases[] = {
        {"1,4769", "1.476"},   {"1.9999", "1.999"}, {".5", "0.500"}, {"-0.5", "-0.500"},
        {"-1,25", "-1.250"},   {"", "0.000"},       {"2", "2.000"},  {"1,5", "1.500"},
        {"1.2.3", "-"},        {"1,2.5", "-"},      {"1.2,3", "-"},  {"1-2", "-"},
        {"12345678", "-"},     {"12345678.5", "-"}, {many, "-"},     {"9999999,9", "9999999.900"},
        {"1." + many, "1.777"}};
    for (const auto& [typed, shown] : cases)
    {
        const NumericText parsed = ParseNumericText(typed, 3);
        EXPECT_EQ(parsed.valid ? parsed.text : "-", shown) << typed.substr(0, 20);
    }
}
