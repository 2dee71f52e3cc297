#include "MeterStream.h"

#include "tools/qm7xx-sim/FrameSchedule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{

SimOptions Options(std::vector<std::string> args)
{
    args.insert(args.begin(), {"--port", "p"});
    const ParseResult r = ParseOptions(args);
    EXPECT_TRUE(r.Ok()) << r.error;
    return r.options;
}

std::vector<Transmission> Transmissions(const SimOptions& options, int maxFrames = 1000)
{
    FrameSchedule schedule(options);
    std::vector<Transmission> run;
    Transmission t;
    while (static_cast<int>(run.size()) < maxFrames && schedule.Next(t))
        run.push_back(t);
    return run;
}

std::vector<std::uint8_t> Stream(const std::vector<Transmission>& run)
{
    std::vector<std::uint8_t> bytes;
    for (const Transmission& t : run)
        bytes.insert(bytes.end(), t.bytes.begin(), t.bytes.end());
    return bytes;
}

TEST(FrameSchedule, QM700FramesDecodeToTheMeterTheSimulatorWasToldToPlay)
{
    const auto run = Transmissions(Options(
        {"--device", "1234", "--unit", "wm2", "--level", "-42", "--fixed", "--frames", "3"}));
    ASSERT_EQ(run.size(), 3u);
    const auto decoded = DecodeStream(Stream(run));
    ASSERT_EQ(decoded.size(), 3u);
    for (const DecodedCandidate& c : decoded)
    {
        ASSERT_TRUE(c.accepted);
        EXPECT_EQ(c.reading.frameLength, 17);
        EXPECT_EQ(c.reading.deviceNumber, 1234);
        EXPECT_EQ(c.reading.unitKlx, 0);
        EXPECT_DOUBLE_EQ(c.reading.value1, -42.0);
        EXPECT_EQ(c.reading.measurementError, 0);
        EXPECT_EQ(c.reading.calibrationError, 0);
    }
}

TEST(FrameSchedule, QM701FramesCarryBothChannelsInTheirRanges)
{
    const auto run =
        Transmissions(Options({"--model", "701", "--device", "7", "--fixed", "--level", "56.7",
                               "--range2", "wm2-fine", "--level2", "123.45", "--frames", "1"}));
    ASSERT_EQ(run.size(), 1u);
    // The meter's own documented frame for exactly this reading.
    const std::vector<std::uint8_t> documented = {0x00, 0x01, 0x40, 0x48, 0x38, 0x31, 0x3B, 0x30,
                                                  0x37, 0x30, 0x30, 0x30, 0x30, 0x35, 0x36, 0x37,
                                                  0x31, 0x32, 0x33, 0x34, 0x35, 0x3F, 0x35, 0x0D};
    EXPECT_EQ(run[0].bytes, documented);
}

TEST(FrameSchedule, DriftingValuesStayNearTheLevelAndRepeatForASeed)
{
    const SimOptions options = Options({"--level", "500", "--drift", "2", "--frames", "200"});
    const auto decoded = DecodeStream(Stream(Transmissions(options)));
    ASSERT_EQ(decoded.size(), 200u);
    double low = 1e9;
    double high = -1e9;
    for (const DecodedCandidate& c : decoded)
    {
        ASSERT_TRUE(c.accepted);
        low = std::min(low, c.reading.value1);
        high = std::max(high, c.reading.value1);
    }
    EXPECT_LT(low, 500.0);
    EXPECT_GT(high, 500.0);
    EXPECT_GT(low, 500.0 * 0.85);
    EXPECT_LT(high, 500.0 * 1.15);

    EXPECT_EQ(Stream(Transmissions(options)), Stream(Transmissions(options)));
    SimOptions other = options;
    other.seed = 2;
    EXPECT_NE(Stream(Transmissions(other)), Stream(Transmissions(options)));
}

TEST(FrameSchedule, FramesStartEveryIntervalAndBytesFollowAt300Baud)
{
    const SimOptions options = Options({"--interval", "1000", "--frames", "3"});
    FrameSchedule schedule(options);
    Transmission t;
    for (int k = 0; k < 3; ++k)
    {
        ASSERT_TRUE(schedule.Next(t));
        EXPECT_EQ(t.frameNumber, k + 1);
        EXPECT_EQ(t.startMs, 1000LL * k);
        ASSERT_EQ(t.bytes.size(), 17u);
        EXPECT_EQ(schedule.ByteTimeMs(t, 0), t.startMs);
        // 300 baud, 7N1: nine bits a byte, about 33 bytes a second.
        EXPECT_EQ(schedule.ByteTimeMs(t, 16), t.startMs + 16 * 30);
    }
    EXPECT_FALSE(schedule.Next(t)) << "--frames 3 stops after the third frame";

    FrameSchedule fast(Options({"--fast", "--interval", "100", "--frames", "2"}));
    ASSERT_TRUE(fast.Next(t));
    ASSERT_TRUE(fast.Next(t));
    EXPECT_EQ(t.startMs, 100);
    EXPECT_EQ(fast.ByteTimeMs(t, 16), 100);
}

TEST(FrameSchedule, AShortIntervalNeverOverlapsFramesOnThePacedLine)
{
    const auto run =
        Transmissions(Options({"--model", "701", "--interval", "100", "--frames", "3"}));
    ASSERT_EQ(run.size(), 3u);
    EXPECT_EQ(run[1].startMs, 24 * 30);
    EXPECT_EQ(run[2].startMs, 2 * 24 * 30);
}

TEST(FrameSchedule, RunTimeLimitStopsBeforeAFrameWouldStartAtOrAfterIt)
{
    const auto run = Transmissions(Options({"--interval", "600", "--duration", "2.4"}));
    ASSERT_EQ(run.size(), 4u);
    EXPECT_EQ(run.back().startMs, 1800);
}

TEST(FrameSchedule, SilenceDelaysEveryLaterFrame)
{
    const auto run = Transmissions(Options({"--silence", "2:6", "--frames", "4"}));
    ASSERT_EQ(run.size(), 4u);
    EXPECT_EQ(run[1].startMs, 1000);
    EXPECT_EQ(run[2].startMs, 2000 + 6000);
    EXPECT_EQ(run[3].startMs, 3000 + 6000);
}

TEST(FrameSchedule, ErrorFlagsAreSetInExactlyTheScriptedFrames)
{
    const auto run = Transmissions(
        Options({"--model", "701", "--measurement-error", "2-3", "--measurement-error2", "3-",
                 "--calibration-error", "4", "--frames", "5"}));
    const auto decoded = DecodeStream(Stream(run));
    ASSERT_EQ(decoded.size(), 5u);
    const int expected1[] = {0, 1, 1, 0, 0};
    const int expected2[] = {0, 0, 2, 2, 2};
    const int expectedCal[] = {0, 0, 0, 4, 0};
    for (int i = 0; i < 5; ++i)
    {
        ASSERT_TRUE(decoded[i].accepted) << "frame " << i + 1;
        EXPECT_EQ(decoded[i].reading.measurementError1, expected1[i]) << "frame " << i + 1;
        EXPECT_EQ(decoded[i].reading.measurementError2, expected2[i]) << "frame " << i + 1;
        EXPECT_EQ(decoded[i].reading.calibrationError, expectedCal[i]) << "frame " << i + 1;
    }

    const auto single =
        DecodeStream(Stream(Transmissions(Options({"--measurement-error", "1", "--frames", "2"}))));
    ASSERT_EQ(single.size(), 2u);
    EXPECT_EQ(single[0].reading.measurementError, 1);
    EXPECT_EQ(single[1].reading.measurementError, 0);
}

TEST(FrameSchedule, EveryNthFrameHasADamagedChecksumAndOnlyThat)
{
    const auto run = Transmissions(Options({"--bad-checksum-every", "3", "--frames", "9"}));
    const auto decoded = DecodeStream(Stream(run));
    ASSERT_EQ(decoded.size(), 9u);
    for (int i = 0; i < 9; ++i)
    {
        const bool damaged = (i + 1) % 3 == 0;
        EXPECT_EQ(run[i].badChecksum, damaged);
        EXPECT_EQ(decoded[i].accepted, !damaged) << "frame " << i + 1;
    }
}

TEST(FrameSchedule, StrayBytesFollowTheirFramesAndSpoilOnlyTheNextFrame)
{
    const auto run = Transmissions(
        Options({"--stray-every", "2", "--stray-count", "40", "--frames", "6", "--seed", "3"}));
    ASSERT_EQ(run.size(), 6u);
    for (const Transmission& t : run)
    {
        const bool burst = t.frameNumber % 2 == 0;
        ASSERT_EQ(t.bytes.size(), burst ? 17u + 40u : 17u);
        EXPECT_EQ(t.frameSize, 17u);
        EXPECT_EQ(t.strayBytes, burst ? 40u : 0u);
        for (std::size_t i = 17; i < t.bytes.size(); ++i)
            EXPECT_NE(t.bytes[i], 0x0D) << "a carriage return in the noise";
    }
    // Frames 1, 2, 4 and 6 arrive whole; 3 and 5 come after five noise bytes and make candidates
    // of 22 bytes, which the receiver drops.
    const auto decoded = DecodeStream(Stream(Transmissions(
        Options({"--stray-every", "2", "--stray-count", "5", "--frames", "6", "--seed", "3"}))));
    ASSERT_EQ(decoded.size(), 4u);
    for (const DecodedCandidate& c : decoded)
        EXPECT_TRUE(c.accepted);

    // Seven noise bytes before a 17-byte frame make a 24-byte candidate, which is rejected.
    const auto seven = DecodeStream(Stream(
        Transmissions(Options({"--stray-every", "1", "--stray-count", "7", "--frames", "2"}))));
    ASSERT_EQ(seven.size(), 2u);
    EXPECT_TRUE(seven[0].accepted);
    EXPECT_FALSE(seven[1].accepted);
    EXPECT_EQ(seven[1].reading.frameLength, 24);
}

TEST(FrameSchedule, UnitAndChannelCountChangeAtTheScriptedFrame)
{
    const auto units = DecodeStream(Stream(
        Transmissions(Options({"--change-at", "3", "--unit-after", "wm2", "--frames", "4"}))));
    ASSERT_EQ(units.size(), 4u);
    EXPECT_EQ(units[1].reading.unitKlx, 2);
    EXPECT_EQ(units[2].reading.unitKlx, 0);
    EXPECT_EQ(units[3].reading.unitKlx, 0);

    const auto channels = DecodeStream(
        Stream(Transmissions(Options({"--model", "701", "--change-at", "2", "--channels-after", "1",
                                      "--range1-after", "umol", "--frames", "3"}))));
    ASSERT_EQ(channels.size(), 3u);
    EXPECT_EQ(channels[0].reading.secondChannel, 8);
    EXPECT_EQ(channels[0].reading.range1, 1);
    EXPECT_EQ(channels[1].reading.secondChannel, 0);
    EXPECT_EQ(channels[1].reading.range1, 2);
    EXPECT_EQ(channels[1].reading.value2, 0.0) << "a switched-off channel reads zero";
}

TEST(ValueEncoding, TenthsWhenTheyFitElseWholeUnitsClampedToTheField)
{
    EXPECT_EQ(EncodeValue(123.4, 1).raw, 1234);
    EXPECT_FALSE(EncodeValue(123.4, 1).wholeUnits);
    EXPECT_EQ(EncodeValue(-999.9, 1).raw, -9999);
    EXPECT_FALSE(EncodeValue(-999.9, 1).wholeUnits);
    EXPECT_EQ(EncodeValue(-1000.0, 1).raw, -1000);
    EXPECT_TRUE(EncodeValue(-1000.0, 1).wholeUnits);
    EXPECT_EQ(EncodeValue(9999.9, 1).raw, 99999);
    EXPECT_EQ(EncodeValue(12345.0, 1).raw, 12345);
    EXPECT_TRUE(EncodeValue(12345.0, 1).wholeUnits);
    EXPECT_EQ(EncodeValue(1e7, 1).raw, 99999);
    EXPECT_EQ(EncodeValue(-1e7, 1).raw, -9999);
    // Range 3 carries a further factor of 0.01.
    EXPECT_EQ(EncodeValue(1.234, 3).raw, 1234);
    EXPECT_FALSE(EncodeValue(1.234, 3).wholeUnits);
    EXPECT_EQ(EncodeValue(123.45, 3).raw, 12345);
    EXPECT_TRUE(EncodeValue(123.45, 3).wholeUnits);
    EXPECT_NEAR(DecodedValue(EncodeValue(123.45, 3), 3), 123.45, 1e-9);
    EXPECT_NEAR(DecodedValue(EncodeValue(56.7, 1), 1), 56.7, 1e-9);
}

TEST(FrameSchedule, DescriptionNamesTheValuesAndFaults)
{
    const auto run = Transmissions(
        Options({"--model", "701", "--fixed", "--level", "56.7", "--range2", "wm2-fine", "--level2",
                 "1.5", "--measurement-error2", "1", "--bad-checksum-every", "1", "--stray-every",
                 "1", "--frames", "1"}));
    ASSERT_EQ(run.size(), 1u);
    EXPECT_EQ(Describe(run[0], Options({"--model", "701"})),
              "frame 1 at 0 ms: QM-701 #1, 56.7 kLx; 1.5 W/m2 [measurement error 2] "
              "[bad checksum] [+5 stray bytes]");
}

} // namespace
