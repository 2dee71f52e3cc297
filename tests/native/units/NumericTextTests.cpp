#include "units/NumericText.h"

#include <gtest/gtest.h>

#include <string>

TEST(NumericText, ReadsTheFieldAsTyped)
{
    const std::string many(1000, '7');
    const struct
    {
        std::string typed;
        const char* shown; // null: refused as malformed
        double value;
    } cases[] = {
        {"1,4769", "1.476", 1.476},
        {"1.9999", "1.999", 1.999},
        {".5", "0.500", 0.5},
        {"-0.5", "-0.500", -0.5},
        {"-1,25", "-1.250", -1.25},
        {"", "0.000", 0.0},
        {"2", "2.000", 2.0},
        {"1,5", "1.500", 1.5},
        {"1." + many, "1.777", 1.777},
        {"9999999,9", "9999999.900", 9999999.9},
        {"1.2.3", nullptr, 0},
        {"1,2.5", nullptr, 0},
        {"1.2,3", nullptr, 0},
        {"1-2", nullptr, 0},
        {"12345678", nullptr, 0},
        {"12345678.5", nullptr, 0},
        {many, nullptr, 0},
    };
    for (const auto& c : cases)
    {
        const NumericText parsed = ParseNumericText(c.typed, 3);
        ASSERT_EQ(parsed.valid, c.shown != nullptr) << c.typed.substr(0, 20);
        if (c.shown)
        {
            EXPECT_EQ(parsed.text, c.shown) << c.typed.substr(0, 20);
            EXPECT_DOUBLE_EQ(parsed.value, c.value) << c.typed.substr(0, 20);
        }
    }
}
