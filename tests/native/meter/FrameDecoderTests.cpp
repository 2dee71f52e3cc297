#include "meter/FrameDecoder.h"

#include "tests/native/meter/FrameTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>
#include <string>

namespace
{

using namespace frame_test;
using Fields = std::set<std::string>;

const Fields COPY_ONLY = {"frameLength", "frame"};
const Fields ONE_CHANNEL_FIELDS = {
    "frameLength",      "frame",   "noReadingYet", "wholeUnits1", "calibrationError",
    "measurementError", "unitKlx", "deviceNumber", "value1"};
const Fields TWO_CHANNEL_FIELDS = {"frameLength",
                                   "frame",
                                   "noReadingYet",
                                   "secondChannel",
                                   "calibrationError",
                                   "measurementError1",
                                   "measurementError2",
                                   "range1",
                                   "wholeUnits1",
                                   "range2",
                                   "wholeUnits2",
                                   "deviceNumber",
                                   "value1",
                                   "value2"};

// Decodes one frame into a sentinel record and says which fields the decoder stored.
struct Outcome
{
    bool accepted;
    MeterReading reading;
    Fields changed;
};

Outcome DecodeFromSentinel(const Bytes& frame)
{
    FrameDecoder d;
    d.reading = Sentinel();
    const bool ok = d.DecodeFrame(frame.data(), static_cast<int>(frame.size()));
    return {ok, d.reading, ChangedFields(Sentinel(), d.reading)};
}

MeterReading Decode(const Bytes& frame)
{
    FrameDecoder d;
    EXPECT_TRUE(d.DecodeFrame(frame.data(), static_cast<int>(frame.size())));
    return d.reading;
}

TEST(FrameDecoderRecord, StartsWithNoReadingAndEveryOtherFieldZero)
{
    const FrameDecoder d;
    const MeterReading& r = d.reading;
    EXPECT_EQ(r.noReadingYet, 1);
    for (std::int32_t field : {r.frameLength, r.wholeUnits1, r.wholeUnits2, r.calibrationError,
                               r.unitKlx, r.measurementError, r.secondChannel, r.measurementError2,
                               r.measurementError1, r.range1, r.range2, r.deviceNumber})
    {
        EXPECT_EQ(field, 0);
    }
    EXPECT_EQ(r.value1, 0.0);
    EXPECT_EQ(r.value2, 0.0);
    EXPECT_FALSE(d.ChecksumMatches()) << "nothing stored yet";
}

TEST(FrameDecoderCharValue, ClearsBitSixOnly)
{
    EXPECT_EQ(FrameDecoder::CharValue('0'), 0x30);
    EXPECT_EQ(FrameDecoder::CharValue('?'), 0x3F);
    EXPECT_EQ(FrameDecoder::CharValue('p'), 0x30);
    EXPECT_EQ(FrameDecoder::CharValue('m'), 0x2D);
    EXPECT_EQ(FrameDecoder::CharValue('C'), 0x03);
    EXPECT_EQ(FrameDecoder::CharValue('H'), 0x08);
    EXPECT_EQ(FrameDecoder::CharValue(0x40), 0x00);
    EXPECT_EQ(FrameDecoder::CharValue('A') - 0x30, -47) << "A..F are not hex digits here";
    EXPECT_EQ(FrameDecoder::CharValue(0xFF), 0xBF) << "bit 7 stays";
    EXPECT_EQ(FrameDecoder::CharValue(0x00), 0);
}

TEST(FrameDecoderWorkedExamples, OneChannelKlx)
{
    const Outcome o = DecodeFromSentinel(EXAMPLE_KLX_17);
    ASSERT_TRUE(o.accepted);
    EXPECT_EQ(o.changed, ONE_CHANNEL_FIELDS);
    const MeterReading& r = o.reading;
    EXPECT_EQ(r.noReadingYet, 0);
    EXPECT_EQ(r.frameLength, 17);
    EXPECT_EQ(r.unitKlx, 2);
    EXPECT_EQ(r.wholeUnits1, 0);
    EXPECT_EQ(r.calibrationError, 0);
    EXPECT_EQ(r.measurementError, 0);
    EXPECT_EQ(r.deviceNumber, 1234);
    EXPECT_EQ(r.value1, 1234 * 0.1);
    EXPECT_EQ(0, std::memcmp(r.frame, EXAMPLE_KLX_17.data(), 17));
}

TEST(FrameDecoderWorkedExamples, OneChannelNegativeWholeUnits)
{
    const Outcome o = DecodeFromSentinel(EXAMPLE_NEGATIVE_17);
    ASSERT_TRUE(o.accepted);
    EXPECT_EQ(o.changed, ONE_CHANNEL_FIELDS);
    const MeterReading& r = o.reading;
    EXPECT_EQ(r.wholeUnits1, 8);
    EXPECT_EQ(r.unitKlx, 0);
    EXPECT_EQ(r.calibrationError, 0);
    EXPECT_EQ(r.measurementError, 0);
    EXPECT_EQ(r.deviceNumber, 80);
    EXPECT_EQ(r.value1, -42.0);
}

TEST(FrameDecoderWorkedExamples, TwoChannelsKlxAndFineWm2)
{
    const Outcome o = DecodeFromSentinel(EXAMPLE_TWO_CHANNELS_24);
    ASSERT_TRUE(o.accepted);
    EXPECT_EQ(o.changed, TWO_CHANNEL_FIELDS);
    const MeterReading& r = o.reading;
    EXPECT_EQ(r.noReadingYet, 0);
    EXPECT_EQ(r.frameLength, 24);
    EXPECT_EQ(r.secondChannel, 8);
    EXPECT_EQ(r.calibrationError, 0);
    EXPECT_EQ(r.measurementError1, 0);
    EXPECT_EQ(r.measurementError2, 0);
    EXPECT_EQ(r.range1, 1);
    EXPECT_EQ(r.wholeUnits1, 0);
    EXPECT_EQ(r.range2, 3);
    EXPECT_EQ(r.wholeUnits2, 8);
    EXPECT_EQ(r.deviceNumber, 7);
    EXPECT_EQ(r.value1, 567 * 0.1);
    EXPECT_EQ(r.value2, 12345 * 0.01);
    EXPECT_DOUBLE_EQ(r.value2, 123.45);
}

TEST(FrameDecoderWorkedExamples, TwoChannelsWithErrorsAndOneChannelAvailable)
{
    const Outcome o = DecodeFromSentinel(EXAMPLE_ERRORS_24);
    ASSERT_TRUE(o.accepted);
    const MeterReading& r = o.reading;
    EXPECT_EQ(r.secondChannel, 0);
    EXPECT_EQ(r.calibrationError, 4);
    EXPECT_EQ(r.measurementError1, 1);
    EXPECT_EQ(r.measurementError2, 0);
    EXPECT_EQ(r.range1, 2);
    EXPECT_EQ(r.wholeUnits1, 0);
    EXPECT_EQ(r.range2, 0);
    EXPECT_EQ(r.wholeUnits2, 0);
    EXPECT_EQ(r.deviceNumber, 7);
    EXPECT_EQ(r.value1, 100.0);
    EXPECT_EQ(r.value2, 0.0);
}

TEST(FrameDecoderChecksum, AnySingleByteChangeBeforeTheChecksumIsRejectedWithOnlyTheCopyStored)
{
    for (const Bytes& example :
         {EXAMPLE_KLX_17, EXAMPLE_NEGATIVE_17, EXAMPLE_TWO_CHANNELS_24, EXAMPLE_ERRORS_24})
    {
        for (std::size_t i = 0; i + 3 < example.size(); ++i)
        {
            for (int delta : {1, 0x40, 0x80, 0xFF})
            {
                Bytes damaged = example;
                damaged[i] = static_cast<std::uint8_t>(damaged[i] + delta);
                const Outcome o = DecodeFromSentinel(damaged);
                EXPECT_FALSE(o.accepted) << "byte " << i << " +" << delta;
                EXPECT_EQ(o.changed, COPY_ONLY) << "byte " << i << " +" << delta;
            }
        }
    }
}

TEST(FrameDecoderChecksum, OnlyTheLowNibbleOfEachChecksumCharacterCounts)
{
    // 0xF5: "?" "5", and the same nibbles written as "O" "E", "_" "u", 0xFF 0x05.
    for (const char* chars : {"O5", "?E", "_u", "\xFF\x05"})
    {
        const Bytes f = [&]
        {
            Bytes b = EXAMPLE_TWO_CHANNELS_24;
            b[21] = static_cast<std::uint8_t>(chars[0]);
            b[22] = static_cast<std::uint8_t>(chars[1]);
            return b;
        }();
        FrameDecoder d;
        EXPECT_TRUE(d.DecodeFrame(f.data(), 24)) << chars;
        EXPECT_TRUE(d.ChecksumMatches()) << chars;
    }
    Bytes wrongNibble = EXAMPLE_TWO_CHANNELS_24;
    wrongNibble[22] = '6';
    EXPECT_FALSE(DecodeFromSentinel(wrongNibble).accepted);
}

TEST(FrameDecoderChecksum, TerminatorIsNotExamined)
{
    Bytes f = EXAMPLE_KLX_17;
    f[16] = 0x00;
    EXPECT_TRUE(DecodeFromSentinel(f).accepted);
}

TEST(FrameDecoderLeadingBytes, AreComparedRawNotThroughCharValue)
{
    for (const Bytes& example : {EXAMPLE_KLX_17, EXAMPLE_TWO_CHANNELS_24})
    {
        for (const char* lead : {"0\x01", "@\x01", "p\x01",
                                 "\x00"
                                 "1",
                                 "\x00"
                                 "A",
                                 "\x01\x01", "\x00\x00"})
        {
            const Bytes f = Edited(example, 0, std::string(lead, 2));
            const Outcome o = DecodeFromSentinel(f);
            EXPECT_FALSE(o.accepted) << std::hex << int(f[0]) << " " << int(f[1]);
            EXPECT_EQ(o.changed, COPY_ONLY);
        }
    }
}

TEST(FrameDecoderTypeCode, MustMatchTheLength)
{
    const Outcome typeEightIn17 = DecodeFromSentinel(Edited(EXAMPLE_KLX_17, 3, "H"));
    EXPECT_FALSE(typeEightIn17.accepted);
    EXPECT_EQ(typeEightIn17.changed, COPY_ONLY);

    const Outcome typeThreeIn24 = DecodeFromSentinel(Edited(EXAMPLE_TWO_CHANNELS_24, 3, "C"));
    EXPECT_FALSE(typeThreeIn24.accepted);
    EXPECT_EQ(typeThreeIn24.changed, COPY_ONLY);

    // A high character of value 1 gives type 67 / 72.
    EXPECT_FALSE(DecodeFromSentinel(Edited(EXAMPLE_KLX_17, 2, "A")).accepted);
    EXPECT_FALSE(DecodeFromSentinel(Edited(EXAMPLE_TWO_CHANNELS_24, 2, "\x01")).accepted);
    EXPECT_FALSE(DecodeFromSentinel(Edited(EXAMPLE_KLX_17, 3, "3")).accepted) << "0x33 is 51";
}

TEST(FrameDecoderTypeCode, CharactersWithAndWithoutBitSixAreAccepted)
{
    for (const char* chars : {"\x00\x03", "@\x03",
                              "\x00"
                              "C",
                              "@C"})
    {
        EXPECT_TRUE(DecodeFromSentinel(Edited(EXAMPLE_KLX_17, 2, std::string(chars, 2))).accepted)
            << int(chars[0]) << " " << int(chars[1]);
    }
    for (const char* chars : {"\x00\x08", "@\x08",
                              "\x00"
                              "H",
                              "@H"})
    {
        EXPECT_TRUE(
            DecodeFromSentinel(Edited(EXAMPLE_TWO_CHANNELS_24, 2, std::string(chars, 2))).accepted)
            << int(chars[0]) << " " << int(chars[1]);
    }
}

TEST(FrameDecoderLength, OnlySeventeenAndTwentyFourAreFrames)
{
    // Frames of other lengths with good leading bytes and checksum.
    for (std::size_t length : {5u, 16u, 18u, 23u})
    {
        Bytes f(length, 0x30);
        f[0] = 0x00;
        f[1] = 0x01;
        f = WithChecksum(f);
        const Outcome o = DecodeFromSentinel(f);
        EXPECT_FALSE(o.accepted) << length;
        EXPECT_EQ(o.changed, COPY_ONLY) << length;
        EXPECT_EQ(o.reading.frameLength, static_cast<int>(length));
    }
}

TEST(FrameDecoderStatus, OneChannelStatusWithoutBitFourOrFiveIsRejectedBeforeAnyStore)
{
    for (const char* status : {"\x22", "\x12", "\x02", "\x2F", "\x1F"})
    {
        const Outcome o = DecodeFromSentinel(Edited(EXAMPLE_KLX_17, 4, status));
        EXPECT_FALSE(o.accepted) << int(status[0]);
        EXPECT_EQ(o.changed, COPY_ONLY) << int(status[0]);
    }
}

TEST(FrameDecoderStatus, DocumentedByteFourExamplePassesChecksumButNotStatus)
{
    Bytes f = EXAMPLE_KLX_17;
    f[4] = 0x22;
    f[14] = '7';
    f[15] = '3';
    FrameDecoder d;
    d.reading = Sentinel();
    EXPECT_FALSE(d.DecodeFrame(f.data(), 17));
    EXPECT_TRUE(d.ChecksumMatches());
    EXPECT_EQ(ChangedFields(Sentinel(), d.reading), COPY_ONLY);
}

TEST(FrameDecoderStatus, BitsSixAndSevenOfTheStatusAreIgnored)
{
    const MeterReading plain = DecodeFromSentinel(EXAMPLE_KLX_17).reading;
    for (const char* status : {"\x72", "\xB2", "\xF2"})
    {
        const Outcome o = DecodeFromSentinel(Edited(EXAMPLE_KLX_17, 4, status));
        ASSERT_TRUE(o.accepted) << int(static_cast<std::uint8_t>(status[0]));
        EXPECT_EQ(ChangedFields(plain, o.reading), Fields{"frame"});
    }
}

TEST(FrameDecoderStatus, OneChannelFlagsHoldTheMaskedBits)
{
    const MeterReading r = Decode(Edited(EXAMPLE_KLX_17, 4, "?"));
    EXPECT_EQ(r.wholeUnits1, 8);
    EXPECT_EQ(r.calibrationError, 4);
    EXPECT_EQ(r.unitKlx, 2);
    EXPECT_EQ(r.measurementError, 1);
    EXPECT_EQ(r.value1, 1234.0);
}

TEST(FrameDecoderStatus, TwoChannelStatusWithoutRequiredBitsStoresNothing)
{
    for (const char* status : {"\x28", "\x18"})
    {
        const Outcome o = DecodeFromSentinel(Edited(EXAMPLE_TWO_CHANNELS_24, 4, status));
        EXPECT_FALSE(o.accepted);
        EXPECT_EQ(o.changed, COPY_ONLY);
    }
}

TEST(FrameDecoderStatus, BadChannelOneFormatKeepsTheStatusFieldsAlreadyStored)
{
    const Outcome o = DecodeFromSentinel(Edited(EXAMPLE_TWO_CHANNELS_24, 5, "\x21"));
    EXPECT_FALSE(o.accepted);
    EXPECT_EQ(o.changed, (Fields{"frameLength", "frame", "secondChannel", "calibrationError",
                                 "measurementError1", "measurementError2"}));
    EXPECT_EQ(o.reading.secondChannel, 8);
    EXPECT_EQ(o.reading.calibrationError, 0);
}

TEST(FrameDecoderStatus, BadChannelTwoFormatKeepsStatusAndChannelOneFormatAlreadyStored)
{
    // Format byte 0x2B: bit 4 missing.
    const Outcome o = DecodeFromSentinel(Edited(EXAMPLE_TWO_CHANNELS_24, 6, "\x2B"));
    EXPECT_FALSE(o.accepted);
    EXPECT_EQ(o.changed,
              (Fields{"frameLength", "frame", "secondChannel", "calibrationError",
                      "measurementError1", "measurementError2", "range1", "wholeUnits1"}));
    EXPECT_EQ(o.reading.range1, 1);
    EXPECT_EQ(o.reading.wholeUnits1, 0);
    EXPECT_EQ(o.reading.range2, 77);
    EXPECT_EQ(o.reading.noReadingYet, 77);

    const Outcome noBitFive = DecodeFromSentinel(Edited(EXAMPLE_TWO_CHANNELS_24, 6, "\x1B"));
    EXPECT_FALSE(noBitFive.accepted);
    EXPECT_EQ(noBitFive.changed, o.changed);
}

TEST(FrameDecoderValues, BitSixIsIgnoredInDigitsSignAndNibbles)
{
    // "p".."y" read as 0..9, "m" as "-", 0x70..0x7F as nibbles.
    const MeterReading lower = Decode(Edited(EXAMPLE_KLX_17, 5, "}rptpqrst"));
    EXPECT_EQ(lower.deviceNumber, 1234);
    EXPECT_EQ(lower.value1, 1234 * 0.1);

    const MeterReading sign = Decode(Edited(EXAMPLE_NEGATIVE_17, 9, "mpptr"));
    EXPECT_EQ(sign.value1, -42.0);

    const MeterReading digits = Decode(Edited(EXAMPLE_KLX_17, 9, "y") /* 9 ten-thousands */);
    EXPECT_EQ(digits.value1, 91234 * 0.1);
}

TEST(FrameDecoderValues, SignIsOnlyRecognisedInTheFirstPosition)
{
    const MeterReading minimum = Decode(Edited(EXAMPLE_NEGATIVE_17, 9, "-9999"));
    EXPECT_EQ(minimum.value1, -9999.0);

    // A "-" in a digit position counts as 0x2D - 0x30 = -3 times its weight.
    const MeterReading thousands = Decode(Edited(EXAMPLE_NEGATIVE_17, 9, "0-000"));
    EXPECT_EQ(thousands.value1, -3000.0);
    const MeterReading units = Decode(Edited(EXAMPLE_NEGATIVE_17, 9, "1234-"));
    EXPECT_EQ(units.value1, 12337.0);
    const MeterReading doubleSign = Decode(Edited(EXAMPLE_NEGATIVE_17, 9, "--001"));
    EXPECT_EQ(doubleSign.value1, 2999.0) << "-(-3000 + 1)";
}

TEST(FrameDecoderValues, OutOfRangeCharactersAddWhatTheirPositionGives)
{
    // "A" is -47; 0xBF (bit 6 cleared stays 0xBF) is 143.
    const MeterReading a = Decode(Edited(EXAMPLE_NEGATIVE_17, 9, "0000A"));
    EXPECT_EQ(a.value1, -47.0);
    const MeterReading high = Decode(Edited(EXAMPLE_NEGATIVE_17, 9, "\xBF\xBF\xBF\xBF\xBF"));
    EXPECT_EQ(high.value1, 143.0 * 11111);
    const MeterReading device = Decode(Edited(EXAMPLE_NEGATIVE_17, 5, std::string(4, '\0')));
    EXPECT_EQ(device.deviceNumber, -48 * (4096 + 256 + 16 + 1));
}

TEST(FrameDecoderValues, LargestDecimalValuesAndTheirScaling)
{
    EXPECT_EQ(Decode(Edited(EXAMPLE_NEGATIVE_17, 9, "99999")).value1, 99999.0);
    const double tenth = Decode(Edited(EXAMPLE_KLX_17, 9, "99999")).value1;
    EXPECT_EQ(tenth, 99999 * 0.1);
    EXPECT_NE(tenth, 99999 / 10.0) << "the factor is a multiplication by 0.1";
    EXPECT_DOUBLE_EQ(tenth, 9999.9);

    // Channel 1 in range 3 and not in whole units: 0.1, then 0.01.
    const MeterReading fine = Decode(Edited(EXAMPLE_TWO_CHANNELS_24, 5, "3"));
    EXPECT_EQ(fine.range1, 3);
    EXPECT_EQ(fine.value1, 567 * 0.1 * 0.01);
    const MeterReading tiny = Decode(Edited(Edited(EXAMPLE_TWO_CHANNELS_24, 5, "3"), 11, "00003"));
    EXPECT_EQ(tiny.value1, 3 * 0.1 * 0.01);
    EXPECT_NE(tiny.value1, 3 * 0.001) << "two factors, applied one after the other";

    const MeterReading largestFine = Decode(Edited(EXAMPLE_TWO_CHANNELS_24, 11, "99999"));
    EXPECT_DOUBLE_EQ(largestFine.value1, 9999.9);
    const MeterReading largestFineBoth =
        Decode(Edited(Edited(EXAMPLE_TWO_CHANNELS_24, 5, "3"), 11, "99999"));
    EXPECT_EQ(largestFineBoth.value1, 99999 * 0.1 * 0.01);
    EXPECT_DOUBLE_EQ(largestFineBoth.value1, 99.999);
}

TEST(FrameDecoderValues, HundredthIsAMultiplicationToo)
{
    // Channel 2 is range 3 in whole units: only the 0.01 factor.
    const MeterReading r = Decode(Edited(EXAMPLE_TWO_CHANNELS_24, 16, "00035"));
    EXPECT_EQ(r.value2, 35 * 0.01);
    EXPECT_NE(r.value2, 35 / 100.0);
}

TEST(FrameDecoderValues, TenthIsAMultiplicationInTheOneChannelFrame)
{
    const MeterReading r = Decode(Edited(EXAMPLE_KLX_17, 9, "00003"));
    EXPECT_EQ(r.value1, 3 * 0.1);
    EXPECT_NE(r.value1, 0.3);
}

TEST(FrameDecoderValues, NibbleCharactersAboveNineGiveTenToFifteen)
{
    EXPECT_EQ(Decode(Edited(EXAMPLE_KLX_17, 5, "????")).deviceNumber, 65535);
    EXPECT_EQ(Decode(Edited(EXAMPLE_TWO_CHANNELS_24, 7, "????")).deviceNumber, 65535);
    EXPECT_EQ(Decode(Edited(EXAMPLE_TWO_CHANNELS_24, 7, ":;<=")).deviceNumber, 0xCDAB);
}

TEST(FrameDecoderValues, UndefinedRangeCodeIsStoredWithoutTheFineFactor)
{
    const MeterReading r = Decode(Edited(EXAMPLE_TWO_CHANNELS_24, 6, "5")); // 0x35: range 5
    EXPECT_EQ(r.range2, 5);
    EXPECT_EQ(r.wholeUnits2, 0);
    EXPECT_EQ(r.value2, 12345 * 0.1);

    const MeterReading seven = Decode(Edited(EXAMPLE_TWO_CHANNELS_24, 5, "?")); // 0x3F
    EXPECT_EQ(seven.range1, 7);
    EXPECT_EQ(seven.wholeUnits1, 8);
    EXPECT_EQ(seven.value1, 567.0);
}

TEST(FrameDecoderPersistence, OneChannelFrameLeavesTheTwoChannelFieldsAlone)
{
    FrameDecoder d;
    ASSERT_TRUE(d.DecodeFrame(EXAMPLE_TWO_CHANNELS_24.data(), 24));
    const MeterReading afterTwo = d.reading;
    const Bytes everyFlag = Edited(EXAMPLE_KLX_17, 4, "?");
    ASSERT_TRUE(d.DecodeFrame(everyFlag.data(), 17));
    EXPECT_EQ(ChangedFields(afterTwo, d.reading),
              (Fields{"frameLength", "frame", "wholeUnits1", "calibrationError", "unitKlx",
                      "measurementError", "deviceNumber", "value1"}));
    EXPECT_EQ(d.reading.secondChannel, 8);
    EXPECT_EQ(d.reading.range1, 1);
    EXPECT_EQ(d.reading.range2, 3);
    EXPECT_EQ(d.reading.value2, 12345 * 0.01);
    // The copy keeps the 24-byte frame's tail beyond the 17 new bytes.
    EXPECT_EQ(0, std::memcmp(d.reading.frame + 17, EXAMPLE_TWO_CHANNELS_24.data() + 17, 7));
}

TEST(FrameDecoderPersistence, TwoChannelFrameLeavesTheOneChannelFieldsAlone)
{
    FrameDecoder d;
    ASSERT_TRUE(d.DecodeFrame(Edited(EXAMPLE_KLX_17, 4, "?").data(), 17));
    ASSERT_TRUE(d.DecodeFrame(EXAMPLE_TWO_CHANNELS_24.data(), 24));
    EXPECT_EQ(d.reading.unitKlx, 2);
    EXPECT_EQ(d.reading.measurementError, 1);
}

TEST(FrameDecoderPersistence, RejectedFrameKeepsTheLastGoodReading)
{
    FrameDecoder d;
    ASSERT_TRUE(d.DecodeFrame(EXAMPLE_KLX_17.data(), 17));
    const MeterReading good = d.reading;
    Bytes bad = EXAMPLE_NEGATIVE_17;
    bad[15] ^= 1;
    EXPECT_FALSE(d.DecodeFrame(bad.data(), 17));
    EXPECT_EQ(ChangedFields(good, d.reading), Fields{"frame"});
    EXPECT_EQ(d.reading.noReadingYet, 0) << "never returns to 1";
}

// Refused calls must leave every byte of the record as it was.
class FrameDecoderRefusal : public ::testing::Test
{
protected:
    FrameDecoder decoder;
    unsigned char before[sizeof(MeterReading)] = {};

    void SetUp() override
    {
        decoder.reading = Sentinel();
        std::memcpy(before, &decoder.reading, sizeof before);
    }
    bool Untouched() const { return std::memcmp(before, &decoder.reading, sizeof before) == 0; }
};

TEST_F(FrameDecoderRefusal, CountsOutsideTheRecordAreRefusedWithoutTouchingIt)
{
    std::uint8_t big[64] = {};
    for (int count : {0, -1, -24, 25, 26, 50, INT_MAX, INT_MIN})
    {
        EXPECT_FALSE(decoder.DecodeFrame(big, count)) << count;
        EXPECT_TRUE(Untouched()) << count;
    }
}

TEST_F(FrameDecoderRefusal, NullPointerIsRefusedWithoutTouchingTheRecord)
{
    for (int count : {17, 24, 1, 0})
    {
        EXPECT_FALSE(decoder.DecodeFrame(nullptr, count)) << count;
        EXPECT_TRUE(Untouched()) << count;
    }
}

TEST(FrameDecoderShortCandidates, AreCopiedAndFailTheChecksumSafely)
{
    for (int count : {1, 2})
    {
        const std::uint8_t bytes[2] = {0x00, 0x00};
        FrameDecoder d;
        d.reading = Sentinel();
        EXPECT_FALSE(d.DecodeFrame(bytes, count));
        EXPECT_FALSE(d.ChecksumMatches());
        EXPECT_EQ(d.reading.frameLength, count);
        EXPECT_EQ(ChangedFields(Sentinel(), d.reading), COPY_ONLY);
    }
}

TEST(FrameDecoderShortCandidates, ChecksumOfAStoredLengthOutsideTheRecordIsFalse)
{
    FrameDecoder d;
    ASSERT_TRUE(d.DecodeFrame(EXAMPLE_TWO_CHANNELS_24.data(), 24));
    ASSERT_TRUE(d.ChecksumMatches());
    for (int length : {-1, 0, 2, 25, 1000, INT_MAX, INT_MIN})
    {
        d.reading.frameLength = length;
        EXPECT_FALSE(d.ChecksumMatches()) << length;
    }
}

} // namespace
