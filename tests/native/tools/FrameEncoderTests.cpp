#include "tools/qm7xx-sim/FrameEncoder.h"

#include "tests/native/meter/FrameTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace frame_test;
using Ints = std::vector<int>;

// The examples byte for byte; out-of-range inputs clamped to what the meter can send.
TEST(FrameEncoder, ReproducesTheExamplesAndClampsOutOfRangeInputs)
{
    EXPECT_EQ(EncodeFrame(Frame17Spec{1234, false, false, true, false, 1234}), KLX);
    EXPECT_EQ(EncodeFrame(Frame17Spec{80, true, false, false, false, -42}), NEGATIVE);
    EXPECT_EQ(EncodeFrame(Frame17Spec{1234, false, true, true, true, 1234}), Edited(KLX, 4, "7"));
    EXPECT_EQ(EncodeFrame(Frame17Spec{-5, true, false, false, false, -10000}),
              EncodeFrame(Frame17Spec{0, true, false, false, false, -9999}));
    EXPECT_EQ(
        EncodeFrame(
            Frame24Spec{65536, true, false, false, false, {-1, true, 100000}, {8, true, 0}}),
        EncodeFrame(Frame24Spec{65535, true, false, false, false, {0, true, 99999}, {7, true, 0}}));
}

// Whatever the meter can send, encoding and decoding give it back. Fixed seed: reproducible.
TEST(FrameEncoder, EncodedReadingsDecodeToTheSameFields)
{
    std::mt19937 engine(20240611);
    auto between = [&](int low, int high)
    { return std::uniform_int_distribution<int>(low, high)(engine); };
    auto scaled = [](int raw, bool whole, int range)
    { return raw * (whole ? 1.0 : 0.1) * (range == 3 ? 0.01 : 1.0); };
    FrameDecoder d;
    const MeterReading& r = d.reading;
    for (int round = 0; round < 3000; ++round)
    {
        SCOPED_TRACE(round);
        const ChannelSpec one{between(0, 7), between(0, 1) == 1, between(-9999, 99999)};
        const ChannelSpec two{between(0, 7), between(0, 1) == 1, between(-9999, 99999)};
        const int device = between(0, 65535);
        const bool f0 = between(0, 1), f1 = between(0, 1), f2 = between(0, 1), f3 = between(0, 1);
        ASSERT_TRUE(Decode(d, EncodeFrame(Frame24Spec{device, f0, f1, f2, f3, one, two})));
        EXPECT_EQ(Ints({r.deviceNumber, r.secondChannel, r.calibrationError, r.measurementError1,
                        r.measurementError2, r.range1, r.range2, r.wholeUnits1, r.wholeUnits2}),
                  Ints({device, f0 * 8, f1 * 4, f2, f3 * 2, one.rangeCode, two.rangeCode,
                        one.wholeUnits * 8, two.wholeUnits * 8}));
        EXPECT_DOUBLE_EQ(r.value1, scaled(one.raw, one.wholeUnits, one.rangeCode));
        EXPECT_DOUBLE_EQ(r.value2, scaled(two.raw, two.wholeUnits, two.rangeCode));
    }
}
