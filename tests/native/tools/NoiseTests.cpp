// The simulator's stray bytes as the program's 7-bit line delivers them: a byte keeps only its
// low seven bits there, so a burst keeps its stated effect only if every byte already fits in
// them and none of them is a carriage return.

#include "tools/qm7xx-sim/FrameSchedule.h"

#include <gtest/gtest.h>

#include <set>

namespace
{

TEST(StrayBytes, FitASevenBitLineAndAreNeverACarriageReturn)
{
    const ParseResult parsed = ParseOptions(
        {"--port", "p", "--stray-every", "1", "--stray-count", "40", "--frames", "150"});
    ASSERT_TRUE(parsed.Ok()) << parsed.error;
    FrameSchedule schedule(parsed.options);
    std::set<int> seen;
    for (Transmission t; schedule.Next(t);)
    {
        for (std::size_t i = t.frameSize; i < t.bytes.size(); ++i)
        {
            ASSERT_EQ(t.bytes[i] & 0x7F, t.bytes[i]) << "frame " << t.frameNumber << ", byte " << i;
            ASSERT_NE(t.bytes[i], 0x0D) << "frame " << t.frameNumber << ", byte " << i;
            seen.insert(t.bytes[i]);
        }
    }
    // 6000 draws: every 7-bit value but the carriage return turns up.
    EXPECT_EQ(seen.size(), 127u);
}

} // namespace
