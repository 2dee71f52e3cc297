#include "meter/FrameEncoder.h"

#include "tests/native/meter/FrameTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace
{

using namespace frame_test;

std::string Text(const Bytes& b, std::size_t from, std::size_t count)
{
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(from),
                       b.begin() + static_cast<std::ptrdiff_t>(from + count));
}

TEST(FrameEncoder, ReproducesTheOneChannelExamplesByteForByte)
{
    Frame17Spec klx;
    klx.deviceNumber = 1234;
    klx.unitKlx = true;
    klx.raw = 1234;
    EXPECT_EQ(EncodeFrame(klx), EXAMPLE_KLX_17);

    Frame17Spec negative;
    negative.deviceNumber = 80;
    negative.wholeUnits = true;
    negative.raw = -42;
    EXPECT_EQ(EncodeFrame(negative), EXAMPLE_NEGATIVE_17);
}

TEST(FrameEncoder, ReproducesTheTwoChannelExamplesByteForByte)
{
    Frame24Spec both;
    both.deviceNumber = 7;
    both.channel1 = {1, false, 567};
    both.channel2 = {3, true, 12345};
    EXPECT_EQ(EncodeFrame(both), EXAMPLE_TWO_CHANNELS_24);

    Frame24Spec errors;
    errors.deviceNumber = 7;
    errors.secondChannel = false;
    errors.calibrationError = true;
    errors.measurementError1 = true;
    errors.channel1 = {2, false, 1000};
    errors.channel2 = {0, false, 0};
    EXPECT_EQ(EncodeFrame(errors), EXAMPLE_ERRORS_24);
}

TEST(FrameEncoder, SetsEachStatusBitOnItsOwn)
{
    const std::uint8_t base17 = EncodeFrame(Frame17Spec{})[4];
    EXPECT_EQ(base17, 0x30);
    Frame17Spec s;
    s.wholeUnits = true;
    EXPECT_EQ(EncodeFrame(s)[4], 0x38);
    s = {};
    s.calibrationError = true;
    EXPECT_EQ(EncodeFrame(s)[4], 0x34);
    s = {};
    s.unitKlx = true;
    EXPECT_EQ(EncodeFrame(s)[4], 0x32);
    s = {};
    s.measurementError = true;
    EXPECT_EQ(EncodeFrame(s)[4], 0x31);

    Frame24Spec t;
    t.secondChannel = false;
    EXPECT_EQ(EncodeFrame(t)[4], 0x30);
    t.measurementError2 = true;
    EXPECT_EQ(EncodeFrame(t)[4], 0x32);
    t.measurementError2 = false;
    t.measurementError1 = true;
    EXPECT_EQ(EncodeFrame(t)[4], 0x31);
    t.measurementError1 = false;
    t.calibrationError = true;
    EXPECT_EQ(EncodeFrame(t)[4], 0x34);
    t = {};
    EXPECT_EQ(EncodeFrame(t)[4], 0x38) << "second channel is on by default";
}

TEST(FrameEncoder, WritesDeviceNumberLowByteFirstHighNibbleFirst)
{
    Frame17Spec s;
    s.deviceNumber = 0xABCD;
    const Bytes f = EncodeFrame(s);
    EXPECT_EQ(Text(f, 5, 4), std::string("<=:;")); // C D A B as 0x30 + nibble

    Frame24Spec t;
    t.deviceNumber = 0x1234;
    EXPECT_EQ(Text(EncodeFrame(t), 7, 4), "3412");
}

TEST(FrameEncoder, WritesValuesAsFiveCharactersWithSignForNegatives)
{
    Frame24Spec t;
    t.channel1.raw = 99999;
    t.channel2.raw = -9999;
    const Bytes f = EncodeFrame(t);
    EXPECT_EQ(Text(f, 11, 5), "99999");
    EXPECT_EQ(Text(f, 16, 5), "-9999");

    t.channel1.raw = 0;
    t.channel2.raw = -1;
    const Bytes g = EncodeFrame(t);
    EXPECT_EQ(Text(g, 11, 5), "00000");
    EXPECT_EQ(Text(g, 16, 5), "-0001");
}

TEST(FrameEncoder, RangeCodesAboveThreeAreLegalOnTheWire)
{
    Frame24Spec t;
    t.channel1 = {7, true, 0};
    t.channel2 = {4, false, 0};
    const Bytes f = EncodeFrame(t);
    EXPECT_EQ(f[5], 0x3F);
    EXPECT_EQ(f[6], 0x34);
}

TEST(FrameEncoder, ClampsOutOfRangeInputsToWhatTheMeterCanSend)
{
    Frame17Spec s;
    s.deviceNumber = -5;
    s.raw = INT_MIN;
    Bytes f = EncodeFrame(s);
    EXPECT_EQ(Text(f, 5, 4), "0000");
    EXPECT_EQ(Text(f, 9, 5), "-9999");

    s.deviceNumber = INT_MAX;
    s.raw = INT_MAX;
    f = EncodeFrame(s);
    EXPECT_EQ(Text(f, 5, 4), "????");
    EXPECT_EQ(Text(f, 9, 5), "99999");

    s.deviceNumber = 65536;
    s.raw = 100000;
    f = EncodeFrame(s);
    EXPECT_EQ(Text(f, 5, 4), "????");
    EXPECT_EQ(Text(f, 9, 5), "99999");

    Frame24Spec t;
    t.channel1 = {-1, false, -10000};
    t.channel2 = {8, true, 123456};
    const Bytes g = EncodeFrame(t);
    EXPECT_EQ(g[5], 0x30);
    EXPECT_EQ(g[6], 0x3F);
    EXPECT_EQ(Text(g, 11, 5), "-9999");
    EXPECT_EQ(Text(g, 16, 5), "99999");
}

TEST(FrameEncoder, ChecksumCoversEveryByteBeforeItAndFrameEndsInCarriageReturn)
{
    Frame24Spec t;
    t.deviceNumber = 65535;
    t.channel1 = {3, true, 99999};
    t.channel2 = {3, true, 99999};
    const Bytes f = EncodeFrame(t);
    ASSERT_EQ(f.size(), 24u);
    unsigned sum = 0;
    for (std::size_t i = 0; i < 21; ++i)
    {
        sum += f[i];
    }
    EXPECT_EQ(f[21], 0x30 + ((sum >> 4) & 0x0F));
    EXPECT_EQ(f[22], 0x30 + (sum & 0x0F));
    EXPECT_EQ(f[23], 0x0D);
    EXPECT_EQ(EncodeFrame(Frame17Spec{}).size(), 17u);
    EXPECT_EQ(EncodeFrame(Frame17Spec{})[16], 0x0D);
}

} // namespace
