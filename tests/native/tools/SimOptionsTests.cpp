#include "tools/qm7xx-sim/SimOptions.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace
{

ParseResult Parse(std::vector<std::string> args)
{
    return ParseOptions(args);
}

// The error for a command line; fails the test when it was accepted.
std::string ErrorOf(std::vector<std::string> args)
{
    const ParseResult r = ParseOptions(args);
    EXPECT_FALSE(r.Ok()) << "accepted: " << ::testing::PrintToString(args);
    return r.error;
}

TEST(SimOptions, PortAloneGivesAOneChannelMeterOnceASecondAt300Baud)
{
    const ParseResult r = Parse({"--port", "COM8"});
    ASSERT_TRUE(r.Ok()) << r.error;
    const SimOptions& o = r.options;
    EXPECT_EQ(o.port, "COM8");
    EXPECT_EQ(o.model, MeterModel::QM700);
    EXPECT_EQ(o.deviceNumber, 1);
    EXPECT_TRUE(o.unitKlx);
    EXPECT_FALSE(o.fixedValues);
    EXPECT_EQ(o.intervalMs, 1000);
    EXPECT_FALSE(o.fast);
    EXPECT_EQ(o.frameLimit, 0);
    EXPECT_EQ(o.durationSeconds, 0.0);
    EXPECT_FALSE(o.measurementError1.Contains(1));
    EXPECT_EQ(o.badChecksumEvery, 0);
    EXPECT_EQ(o.strayEvery, 0);
    EXPECT_EQ(o.changeAtFrame, 0);
}

TEST(SimOptions, ValuesAreTakenAfterTheOptionOrAfterAnEqualsSign)
{
    const ParseResult r = Parse({"--port=/tmp/a", "--model",     "701",
                                 "--device=4321", "--channels",  "1",
                                 "--range1",      "umol",        "--range2=wm2-fine",
                                 "--level",       "-12.5",       "--level2=999.99",
                                 "--fixed",       "--interval",  "250",
                                 "--fast",        "--frames=30", "--duration",
                                 "2.5",           "--seed",      "9",
                                 "--verbose"});
    ASSERT_TRUE(r.Ok()) << r.error;
    const SimOptions& o = r.options;
    EXPECT_EQ(o.port, "/tmp/a");
    EXPECT_EQ(o.model, MeterModel::QM701);
    EXPECT_EQ(o.deviceNumber, 4321);
    EXPECT_FALSE(o.secondChannel);
    EXPECT_EQ(o.range1, 2);
    EXPECT_EQ(o.range2, 3);
    EXPECT_EQ(o.level1, -12.5);
    EXPECT_EQ(o.level2, 999.99);
    EXPECT_TRUE(o.fixedValues);
    EXPECT_EQ(o.intervalMs, 250);
    EXPECT_TRUE(o.fast);
    EXPECT_EQ(o.frameLimit, 30);
    EXPECT_EQ(o.durationSeconds, 2.5);
    EXPECT_EQ(o.seed, 9u);
    EXPECT_TRUE(o.verbose);
}

TEST(SimOptions, FaultScriptsParseFrameRangesSilenceAndChanges)
{
    const ParseResult r = Parse({"--port",
                                 "p",
                                 "--model",
                                 "QM-701",
                                 "--measurement-error",
                                 "3",
                                 "--measurement-error2",
                                 "4-6",
                                 "--calibration-error",
                                 "10-",
                                 "--bad-checksum-every",
                                 "5",
                                 "--stray-every",
                                 "7",
                                 "--stray-count",
                                 "40",
                                 "--silence",
                                 "12:6.5",
                                 "--change-at",
                                 "20",
                                 "--channels-after",
                                 "1",
                                 "--range1-after",
                                 "wm2",
                                 "--range2-after",
                                 "5"});
    ASSERT_TRUE(r.Ok()) << r.error;
    const SimOptions& o = r.options;
    EXPECT_TRUE(o.measurementError1.Contains(3));
    EXPECT_FALSE(o.measurementError1.Contains(2));
    EXPECT_FALSE(o.measurementError1.Contains(4));
    EXPECT_FALSE(o.measurementError2.Contains(3));
    EXPECT_TRUE(o.measurementError2.Contains(4));
    EXPECT_TRUE(o.measurementError2.Contains(6));
    EXPECT_FALSE(o.measurementError2.Contains(7));
    EXPECT_FALSE(o.calibrationError.Contains(9));
    EXPECT_TRUE(o.calibrationError.Contains(INT_MAX));
    EXPECT_EQ(o.badChecksumEvery, 5);
    EXPECT_EQ(o.strayEvery, 7);
    EXPECT_EQ(o.strayCount, 40);
    EXPECT_EQ(o.silenceAfterFrame, 12);
    EXPECT_EQ(o.silenceSeconds, 6.5);
    EXPECT_EQ(o.changeAtFrame, 20);
    EXPECT_EQ(o.change.secondChannel, false);
    EXPECT_EQ(o.change.range1, 0);
    EXPECT_EQ(o.change.range2, 5);
    EXPECT_FALSE(o.change.unitKlx.has_value());

    const ParseResult all = Parse(
        {"--port", "p", "--measurement-error", "all", "--change-at", "2", "--unit-after", "wm2"});
    ASSERT_TRUE(all.Ok()) << all.error;
    EXPECT_TRUE(all.options.measurementError1.Contains(1));
    EXPECT_EQ(all.options.change.unitKlx, false);
}

TEST(SimOptions, BadValuesAreRefusedWithTheOptionAndWhatItExpects)
{
    EXPECT_EQ(ErrorOf({"--port", "p", "--model", "702"}),
              "bad value '702' for --model: expected 700 or 701");
    EXPECT_EQ(ErrorOf({"--port", "p", "--device", "65536"}),
              "bad value '65536' for --device: expected a number from 0 to 65535");
    EXPECT_EQ(ErrorOf({"--port", "p", "--device", "12x"}),
              "bad value '12x' for --device: expected a number from 0 to 65535");
    EXPECT_NE(ErrorOf({"--port", "p", "--unit", "lux"}).find("klx or wm2"), std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--level", "1e999"}).find("--level"), std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--level", "nan"}).find("--level"), std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--interval", "0"}).find("--interval"), std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--drift", "-1"}).find("--drift"), std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--measurement-error", "5-2"}).find("N-M"),
              std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--measurement-error", "0"}).find("--measurement-error"),
              std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--stray-count", "41"}).find("1 to 40"), std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--stray-count", "0"}).find("1 to 40"), std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--silence", "10"}).find("FRAME:SECONDS"), std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--silence", "10:0"}).find("FRAME:SECONDS"),
              std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--frames", "0"}).find("--frames"), std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--duration", "0"}).find("--duration"), std::string::npos);
}

TEST(SimOptions, MalformedCommandLinesAreRefused)
{
    EXPECT_EQ(ErrorOf({}), "--port is required (a COM port such as COM8 on Windows, a tty path "
                           "on Linux)");
    EXPECT_EQ(ErrorOf({"--port", "p", "--colour"}), "unknown option '--colour'");
    EXPECT_EQ(ErrorOf({"--port", "p", "COM9"}), "unknown option 'COM9'");
    EXPECT_EQ(ErrorOf({"--port"}), "--port needs a value: a port name");
    EXPECT_EQ(ErrorOf({"--port", "p", "--fast=yes"}), "--fast takes no value");
    EXPECT_NE(ErrorOf({"--port="}).find("--port"), std::string::npos);
}

TEST(SimOptions, OptionsOfTheOtherModelAreRefused)
{
    EXPECT_NE(ErrorOf({"--port", "p", "--channels", "2"}).find("QM-701"), std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--range2", "klx"}).find("QM-701"), std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--measurement-error2", "1"}).find("QM-701"),
              std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--model", "701", "--unit", "wm2"}).find("QM-700"),
              std::string::npos);
}

TEST(SimOptions, LevelsMustFitTheMeterFieldForEveryUnitTheyAreSentIn)
{
    EXPECT_TRUE(Parse({"--port", "p", "--level", "99999"}).Ok());
    EXPECT_TRUE(Parse({"--port", "p", "--level", "-9999"}).Ok());
    EXPECT_FALSE(Parse({"--port", "p", "--level", "100000"}).Ok());
    EXPECT_FALSE(Parse({"--port", "p", "--level", "-10000"}).Ok());
    EXPECT_TRUE(
        Parse({"--port", "p", "--model", "701", "--range1", "wm2-fine", "--level", "999.99"}).Ok());
    EXPECT_FALSE(
        Parse({"--port", "p", "--model", "701", "--range1", "wm2-fine", "--level", "1000"}).Ok());
    EXPECT_NE(ErrorOf({"--port", "p", "--model", "701", "--level2", "5000", "--change-at", "3",
                       "--range2-after", "wm2-fine"})
                  .find("--level2"),
              std::string::npos);
}

TEST(SimOptions, ChangeAtAndTheChangesComeTogether)
{
    EXPECT_NE(ErrorOf({"--port", "p", "--change-at", "5"}).find("--unit-after"), std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "p", "--unit-after", "wm2"}).find("--change-at"),
              std::string::npos);
}

TEST(SimOptions, HelpNeedsNoPortAndExplainsEveryOption)
{
    const ParseResult r = Parse({"--help"});
    ASSERT_TRUE(r.Ok()) << r.error;
    EXPECT_TRUE(r.options.help);
    EXPECT_TRUE(Parse({"-h"}).options.help);

    const std::string usage = UsageText();
    const std::vector<std::string> names = OptionNames();
    EXPECT_GE(names.size(), 30u);
    for (const std::string& name : names)
        EXPECT_NE(usage.find(name), std::string::npos) << name << " is not explained";
}

} // namespace
