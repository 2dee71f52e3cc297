#include "meter/FrameDecoder.h"
#include "meter/FrameEncoder.h"

#include "tests/native/meter/FrameTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace
{

using namespace frame_test;
using Ints = std::vector<int>;

struct DecodeCase
{
    const char* name;
    Bytes frame;
    bool accepted;
    int deviceNumber = 0; // a rejected frame leaves the fresh decoder's zeros
    double value1 = 0, value2 = 0;
};

// Values are compared exactly: the meter's factors are multiplications by 0.1 and 0.01, one
// after the other, and 3 * 0.1 is not 0.3.
const DecodeCase DECODE_CASES[] = {
    {"example kLx", KLX, true, 1234, 1234 * 0.1},
    {"example negative", NEGATIVE, true, 80, -42},
    {"example two channels", TWO, true, 7, 567 * 0.1, 12345 * 0.01},
    {"tenth", Edited(KLX, 9, "00003"), true, 1234, 3 * 0.1},
    {"hundredth", Edited(TWO, 16, "00035"), true, 7, 567 * 0.1, 35 * 0.01},
    {"both", Edited(TWO, 5, "3") /* range 3 */, true, 7, 567 * 0.1 * 0.01, 12345 * 0.01},
    {"range 5", Edited(TWO, 6, "5"), true, 7, 567 * 0.1, 12345 * 0.1},
    {"bit 6 ignored", Edited(NEGATIVE, 5, "upppmpptr"), true, 80, -42},
    {"a sign in a digit place", Edited(NEGATIVE, 9, "0-000"), true, 80, -3000},
    {"checksum low nibbles", Edited(KLX, 14, "x\x03", false), true, 1234, 1234 * 0.1},
    {"terminator", Edited(KLX, 16, "\0"s, false), true, 1234, 1234 * 0.1},
    {"bit 7 kept", Edited(NEGATIVE, 13, "\xB2") /* 130 units */, true, 80, -170},
    {"checksum nibble", Edited(TWO, 22, "6", false), false},
    {"first byte 0x40", Edited(KLX, 0, "@"), false},
    {"second byte 0x41", Edited(TWO, 1, "A"), false},
    {"type 8 in 17 bytes", Edited(KLX, 3, "H"), false},
    {"type 3 in 24 bytes", Edited(TWO, 3, "C"), false},
    {"type 67", Edited(KLX, 2, "A"), false},
    {"status without bit 4", Edited(KLX, 4, "\x2F"), false},
    {"status without bit 5", Edited(KLX, 4, "\x1F"), false},
    {"two-channel status without bit 4", Edited(TWO, 4, "\x28"), false},
    {"format 1 without bit 4", Edited(TWO, 5, "\x21"), false},
    {"format 2 without bit 5", Edited(TWO, 6, "\x1B"), false},
};

TEST(FrameDecoder, AcceptsGoodFramesOnlyAndScalesTheirValues)
{
    for (const DecodeCase& c : DECODE_CASES)
    {
        SCOPED_TRACE(c.name);
        FrameDecoder d;
        EXPECT_EQ(Decode(d, c.frame), c.accepted);
        const MeterReading& r = d.reading;
        EXPECT_EQ(Ints({r.noReadingYet, r.deviceNumber}), Ints({!c.accepted, c.deviceNumber}));
        EXPECT_EQ(r.value1, c.value1);
        EXPECT_EQ(r.value2, c.value2);
    }
}

TEST(FrameDecoder, AnyChangedByteBeforeTheChecksumIsRejected)
{
    FrameDecoder d;
    ASSERT_TRUE(Decode(d, NEGATIVE));
    for (const Bytes& example : {KLX, TWO})
        for (std::size_t i = 0; i + 3 < example.size(); ++i)
            for (int delta : {1, 0x10, 0x40, 0x80, 0xFF})
            {
                const Bytes f = Edited(example, i, std::string(1, char(example[i] + delta)), false);
                EXPECT_FALSE(Decode(d, f)) << "byte " << i << " +" << delta;
                EXPECT_EQ(d.reading.value1, -42) << "a rejected frame keeps the last reading";
            }
}

TEST(FrameDecoder, FieldsAFrameDoesNotCarryOrFailsLateKeepTheirValues)
{
    FrameDecoder d;
    ASSERT_FALSE(Decode(d, Edited(TWO, 6, "\x2B")));
    EXPECT_EQ(d.reading.range1, 1) << "stored before the failing step";
    EXPECT_EQ(d.reading.range2, 0);

    ASSERT_TRUE(Decode(d, TWO));
    ASSERT_TRUE(Decode(d, Edited(KLX, 4, "?"))); // every flag set
    EXPECT_EQ(d.reading.secondChannel, 8);
    EXPECT_EQ(d.reading.range2, 3);
    EXPECT_EQ(d.reading.value2, 12345 * 0.01);
    ASSERT_TRUE(Decode(d, ERRORS));
    EXPECT_EQ(d.reading.unitKlx, 2);
    EXPECT_EQ(d.reading.measurementError, 1);
}

TEST(FrameEncoder, ReproducesTheOneChannelExamplesByteForByte)
{
    EXPECT_EQ(EncodeFrame(Frame17Spec{1234, false, false, true, false, 1234}), KLX);
    EXPECT_EQ(EncodeFrame(Frame17Spec{80, true, false, false, false, -42}), NEGATIVE);
}

TEST(FrameEncoder, ClampsOutOfRangeInputsToWhatTheMeterCanSend)
{
    FrameDecoder d;
    ASSERT_TRUE(Decode(d, EncodeFrame(Frame17Spec{-5, true, false, false, false, -10000})));
    EXPECT_EQ(Ints({d.reading.deviceNumber, int(d.reading.value1)}), Ints({0, -9999}));
    ASSERT_TRUE(
        Decode(d, EncodeFrame(Frame24Spec{
                      65536, true, false, false, false, {-1, true, 100000}, {8, true, 0}})));
    EXPECT_EQ(
        Ints({d.reading.deviceNumber, int(d.reading.value1), d.reading.range1, d.reading.range2}),
        Ints({65535, 99999, 0, 7}));
}

// Whatever the meter can send, encoding and decoding give it back. Fixed seed: reproducible.
TEST(FrameEncoder, EncodedReadingsDecodeToTheSameFields)
{
    std::mt19937 engine(20240611);
    auto between = [&](int low, int high)
    { return std::uniform_int_distribution<int>(low, high)(engine); };
    auto raw = [&] { return between(0, 1) ? between(-9999, 99999) : between(-12, 12); };
    auto scaled = [](int r, bool whole, int range)
    { return r * (whole ? 1.0 : 0.1) * (range == 3 ? 0.01 : 1.0); };
    FrameDecoder d;
    for (int round = 0; round < 3000; ++round)
    {
        const ChannelSpec one{between(0, 7), between(0, 1) == 1, raw()};
        const ChannelSpec two{between(0, 7), between(0, 1) == 1, raw()};
        const int device = between(0, 65535);
        const int flags = between(0, 15);
        const bool f0 = flags & 1, f1 = flags & 2, f2 = flags & 4, f3 = flags & 8;
        ASSERT_TRUE(Decode(d, EncodeFrame(Frame24Spec{device, f0, f1, f2, f3, one, two})));
        const MeterReading& r = d.reading;
        EXPECT_EQ(Ints({r.deviceNumber, r.secondChannel, r.calibrationError, r.measurementError1,
                        r.measurementError2, r.range1, r.range2, r.wholeUnits1, r.wholeUnits2}),
                  Ints({device, f0 * 8, f1 * 4, f2, f3 * 2, one.rangeCode, two.rangeCode,
                        one.wholeUnits * 8, two.wholeUnits * 8}))
            << round;
        EXPECT_DOUBLE_EQ(r.value1, scaled(one.raw, one.wholeUnits, one.rangeCode)) << round;
        EXPECT_DOUBLE_EQ(r.value2, scaled(two.raw, two.wholeUnits, two.rangeCode)) << round;
        ASSERT_TRUE(
            Decode(d, EncodeFrame(Frame17Spec{device, two.wholeUnits, f0, f1, f2, two.raw})));
        EXPECT_EQ(Ints({r.deviceNumber, r.wholeUnits1, r.calibrationError, r.unitKlx,
                        r.measurementError}),
                  Ints({device, two.wholeUnits * 8, f0 * 4, f1 * 2, f2}))
            << round;
        EXPECT_DOUBLE_EQ(r.value1, scaled(two.raw, two.wholeUnits, 0)) << round;
    }
}

} // namespace
