#include "tests/native/meter/FrameTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using namespace frame_test;
using Ints = std::vector<int>;
using Doubles = std::vector<double>; // braced lists are evaluated in order

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
    {"example negative", NEGATIVE, true, 80, -42},
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
        const MeterReading& r = d.reading;
        EXPECT_EQ(Doubles({double(Decode(d, c.frame)), double(r.noReadingYet),
                           double(r.deviceNumber), r.value1, r.value2}),
                  Doubles({double(c.accepted), double(!c.accepted), double(c.deviceNumber),
                           c.value1, c.value2}));
    }
}

TEST(FrameDecoder, AnyChangedByteBeforeTheChecksumIsRejected)
{
    FrameDecoder d;
    for (const Bytes& example : {KLX, TWO})
        for (std::size_t i = 0; i + 3 < example.size(); ++i)
            for (int delta : {1, 0x10, 0x40, 0x80, 0xFF})
                EXPECT_FALSE(Decode(d, Edited(example, i, {char(example[i] + delta)}, false)))
                    << "byte " << i << " +" << delta;
    // A candidate longer than the record's copy is refused before anything is copied.
    const Bytes tooLong = ToBytes(std::string(TWO.begin(), TWO.end()) + "\r");
    EXPECT_FALSE(d.DecodeFrame(tooLong.data(), 25));
}

TEST(FrameDecoder, FieldsAFrameDoesNotCarryOrFailsLateKeepTheirValues)
{
    FrameDecoder d;
    const MeterReading& r = d.reading;
    ASSERT_FALSE(Decode(d, Edited(TWO, 6, "\x2B")));
    EXPECT_EQ(Ints({r.range1, r.range2}), Ints({1, 0})); // range 1 passed before the failure
    ASSERT_TRUE(Decode(d, TWO) && Decode(d, Edited(KLX, 4, "?"))); // every flag set
    EXPECT_EQ(Ints({r.secondChannel, r.range2, r.value2 == 12345 * 0.01}), Ints({8, 3, 1}));
    ASSERT_TRUE(Decode(d, ERRORS));
    EXPECT_EQ(Ints({r.unitKlx, r.measurementError}), Ints({2, 1}));
}

} // namespace
