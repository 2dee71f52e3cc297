#include "tools/qm7xx-sim/FrameEncoder.h"

#include "tests/native/meter/FrameTestSupport.h"

#include <gtest/gtest.h>

using namespace frame_test;

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
