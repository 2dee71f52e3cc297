#include "meter/FrameAssembler.h"

#include "tests/native/meter/FrameTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using namespace frame_test;

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The outcomes other than NothingYet, as " G17 B24 ...".
std::string Fed(FrameAssembler& assembler, const Bytes& stream)
{
    FrameDecoder decoder;
    std::string outcomes;
    for (std::uint8_t b : stream)
    {
        const FrameOutcome o = assembler.Feed(b, decoder);
        if (o != FrameOutcome::NothingYet)
            outcomes += (o == FrameOutcome::GoodFrame ? " G" : " B") +
                        std::to_string(assembler.LastLength());
    }
    return outcomes;
}

struct AssemblyCase
{
    const char* name;
    Bytes stream;
    const char* outcomes;
    int countAfter = 0; // bytes held at the end
};

// Stray bytes are 'x', never a carriage return.
const AssemblyCase ASSEMBLY_CASES[] = {
    {"worked examples", KLX + TWO + NEGATIVE + ERRORS, " G17 G24 G17 G24"},
    {"damaged checksum", Edited(KLX, 15, "4", false) + KLX, " B17 G17"},
    {"7 stray bytes make a 24-byte candidate", Bytes(7, 'x') + KLX + KLX, " B24 G17"},
    {"6 stray bytes", Bytes(6, 'x') + KLX + KLX, " G17"},
    {"carriage return at 16 is data", Bytes(15, 'x') + Bytes{0x0D} + KLX + KLX, " G17"},
    {"carriage return at 17 closes", Bytes(16, 'x') + Bytes{0x0D} + KLX, " B17 G17"},
    {"carriage return at 49 closes", Bytes(48, 'x') + Bytes{0x0D} + KLX, " G17"},
    {"49 bytes are held", Bytes(49, 'x'), "", 49},
    {"the 50th byte empties the buffer", Bytes(50, 'x') + KLX, " G17"},
};

TEST(FrameAssembler, CutsTheStreamIntoFrames)
{
    for (const AssemblyCase& c : ASSEMBLY_CASES)
    {
        FrameAssembler assembler;
        EXPECT_EQ(Fed(assembler, c.stream), c.outcomes) << c.name;
        EXPECT_EQ(assembler.Count(), c.countAfter) << c.name;
    }
}

} // namespace
