#include "tools/qm7xx-sim/FrameSchedule.h"

#include "meter/FrameAssembler.h"
#include "tests/native/meter/FrameTestSupport.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

// A command line as the user types it (without the program name), with a port.
static SimOptions Options(const std::string& line)
{
    std::istringstream words("--port p " + line);
    const ParseResult r = ParseOptions({std::istream_iterator<std::string>(words), {}});
    EXPECT_TRUE(r.Ok()) << r.error;
    return r.options;
}

static std::vector<Transmission> Sent(const std::string& line)
{
    FrameSchedule schedule(Options(line));
    std::vector<Transmission> run;
    for (Transmission t; run.size() < 1000 && schedule.Next(t);)
        run.push_back(t);
    return run;
}

// What the program's reception makes of the run's bytes: for each candidate frame, whether it
// was accepted and the reading after it.
static std::vector<std::pair<bool, MeterReading>> Received(const std::string& line)
{
    FrameAssembler assembler;
    FrameDecoder decoder;
    std::vector<std::pair<bool, MeterReading>> candidates;
    for (const Transmission& t : Sent(line))
        for (std::uint8_t b : t.bytes)
            if (const FrameOutcome o = assembler.Feed(b, decoder); o != FrameOutcome::NothingYet)
                candidates.push_back({o == FrameOutcome::GoodFrame, decoder.reading});
    return candidates;
}

TEST(FrameSchedule, SendsItsReadingsInTheMetersDocumentedFrames)
{
    const auto sent = Sent("--model 701 --device 7 --fixed --level 56.7 --range2 wm2-fine "
                           "--level2 123.45 --frames 1");
    EXPECT_EQ(sent.at(0).bytes, frame_test::TWO);

    // In tenths when they fit the field, else in whole units. A candidate the receiver drops
    // would leave the reading at device 0 and value 0.
    for (const std::string level : {"-42", "-999.9", "-1000", "9999.9", "99999"})
    {
        const MeterReading r =
            Received("--device 1234 --unit wm2 --fixed --frames 1 --level " + level).at(0).second;
        EXPECT_EQ(r.deviceNumber, 1234);
        EXPECT_DOUBLE_EQ(r.value1, std::stod(level));
    }
}

TEST(FrameSchedule, FramesStartOnTimeAndBytesFollowAt300Baud)
{
    // Each command line with the frames' start times and when their last byte goes out.
    const std::tuple<const char*, std::vector<long long>, long long> cases[] = {
        {"--interval 1000 --frames 3", {0, 1000, 2000}, 16 * 30},
        {"--fast --interval 100 --frames 2", {0, 100}, 0},
        {"--model 701 --interval 100 --frames 3", {0, 720, 1440}, 23 * 30},
        {"--interval 600 --duration 2.4", {0, 600, 1200, 1800}, 16 * 30},
        {"--silence 2:6 --frames 4", {0, 1000, 8000, 9000}, 16 * 30},
    };
    for (const auto& [line, expected, lastByte] : cases)
    {
        FrameSchedule schedule(Options(line));
        std::vector<long long> starts;
        for (Transmission t; starts.size() < 10 && schedule.Next(t); starts.push_back(t.startMs))
            EXPECT_EQ(schedule.ByteTimeMs(t, t.bytes.size() - 1), t.startMs + lastByte);
        EXPECT_EQ(starts, expected) << line;
    }
}

TEST(FrameSchedule, ScriptedFaultsAndChangesComeInExactlyTheirFrames)
{
    // The readings after each change, then the faults: measurement errors 1 and 2 and calibration
    // error, -1 for a rejected frame.
    std::vector<int> seen;
    for (const auto& [accepted, r] :
         Received("--change-at 3 --unit-after wm2 --measurement-error 2 --frames 4"))
        seen.insert(seen.end(), {r.unitKlx, r.measurementError});
    for (const auto& [accepted, r] :
         Received("--model 701 --change-at 2 --channels-after 1 --range1-after umol --frames 2"))
        seen.insert(seen.end(), {r.range1, r.secondChannel, int(r.value2)});
    const std::string line =
        "--model 701 --fixed --measurement-error 2-3 --measurement-error2 3- "
        "--calibration-error 4 --bad-checksum-every 5 --stray-every 6 --frames 6";
    for (const auto& [accepted, r] : Received(line))
        seen.push_back(accepted ? r.measurementError1 * 100 + r.measurementError2 * 10 +
                                      r.calibrationError
                                : -1);
    EXPECT_EQ(seen, std::vector<int>(
                        {2, 0, 2, 1, 0, 0, 0, 0, 1, 8, 20, 2, 0, 0, 0, 100, 120, 24, -1, 20}));
}

// Five stray bytes after frames 2 and 4 make 22-byte candidates of frames 3 and 5, which the
// receiver drops, and spoil no other frame.
TEST(FrameSchedule, StrayBytesSpoilOnlyTheNextFrame)
{
    EXPECT_EQ(Received("--stray-every 2 --stray-count 5 --frames 6").size(), 4u);
}
