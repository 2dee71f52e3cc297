#include "tools/qm7xx-log/LoggerOptions.h"

#include <gtest/gtest.h>

using Args = std::vector<std::string>;

TEST(LoggerOptions, EveryOptionReachesItsField)
{
    // The defaults, --port, --out and --format are what the logger's end-to-end test runs with.
    const LoggerParse all = ParseLoggerOptions(
        {"--port", "COM3", "--out", "l.csv", "--interval", "86400", "--channels", "2", "--format",
         "excel", "--rotate", "daily", "--overwrite", "--quiet", "--wait"});
    ASSERT_TRUE(all.Ok()) << all.error;
    const LoggerOptions& o = all.options;
    EXPECT_EQ(o.intervalSeconds, 86400);
    EXPECT_TRUE(!o.channel1 && o.channel2 && o.rotateDaily && o.overwrite && o.quiet && o.wait);
    EXPECT_EQ(ParseLoggerOptions({"--port", "x", "--separator", "semicolon"}).options.sepFormat,
              SEP_SEMICOLON);
    EXPECT_TRUE(ParseLoggerOptions({"--version"}).Ok());
}

TEST(LoggerOptions, BadCommandLinesAreRefused)
{
    const Args bad[] = {
        {},
        {"--port"},
        {"--port", "x", "--interval", "0"},
        {"--port", "x", "--interval", "86401"},
        {"--port", "x", "--channels", "3"},
        {"--port", "x", "--format", "xls"},
        {"--port", "x", "--format", "iso", "--separator", "tab"},
        {"--port", "x", "--quiet"},
        {"--port", "x", "--overwrite"},
        {"--port", "x", "--out", "f", "--rotate", "weekly"},
        {"--port", "x", "-v"},
    };
    for (const Args& args : bad)
        EXPECT_FALSE(ParseLoggerOptions(args).Ok()) << ::testing::PrintToString(args);
}
