// Property: whatever the meter can send, encoding and then decoding gives the reading back, and
// any single damaged byte before the checksum characters is caught. Fixed seed: reproducible.

#include "meter/FrameDecoder.h"
#include "meter/FrameEncoder.h"

#include "tests/native/meter/FrameTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace
{

using namespace frame_test;

constexpr unsigned SEED = 20240611;
constexpr int ROUNDS = 4000;

class Random
{
public:
    explicit Random(unsigned seed) : engine(seed) {}
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine); }
    bool Flag() { return Between(0, 1) == 1; }
    // Raw values cluster at the edges now and then, where the sign and digit handling differ.
    int Raw()
    {
        switch (Between(0, 5))
        {
        case 0:
            return Between(-9999, -9990);
        case 1:
            return Between(99990, 99999);
        case 2:
            return Between(-9, 9);
        default:
            return Between(-9999, 99999);
        }
    }

private:
    std::mt19937 engine;
};

double Expected(int raw, bool wholeUnits, int range)
{
    double v = static_cast<double>(raw);
    if (!wholeUnits)
    {
        v *= 0.1;
    }
    if (range == 3)
    {
        v *= 0.01;
    }
    return v;
}

void ExpectDamageIsCaught(FrameDecoder& decoder, const Bytes& frame, Random& random)
{
    const MeterReading before = decoder.reading;
    const std::size_t i =
        static_cast<std::size_t>(random.Between(0, static_cast<int>(frame.size()) - 4));
    Bytes damaged = frame;
    damaged[i] = static_cast<std::uint8_t>(damaged[i] + random.Between(1, 255));
    EXPECT_FALSE(decoder.DecodeFrame(damaged.data(), static_cast<int>(damaged.size())))
        << "byte " << i;
    EXPECT_FALSE(decoder.ChecksumMatches());
    const auto changed = ChangedFields(before, decoder.reading);
    EXPECT_TRUE(changed.empty() || changed == std::set<std::string>{"frame"} ||
                changed == (std::set<std::string>{"frame", "frameLength"}));
}

TEST(FrameRoundTrip, EncodedReadingsDecodeToTheSameFieldsAndDamageIsCaught)
{
    Random random(SEED);
    FrameDecoder decoder;
    for (int round = 0; round < ROUNDS; ++round)
    {
        SCOPED_TRACE(round);
        const MeterReading before = decoder.reading;
        if (random.Flag())
        {
            Frame17Spec s;
            s.deviceNumber = random.Between(0, 65535);
            s.wholeUnits = random.Flag();
            s.calibrationError = random.Flag();
            s.unitKlx = random.Flag();
            s.measurementError = random.Flag();
            s.raw = random.Raw();
            const Bytes frame = EncodeFrame(s);
            ASSERT_TRUE(decoder.DecodeFrame(frame.data(), 17));
            const MeterReading& r = decoder.reading;
            EXPECT_EQ(r.deviceNumber, s.deviceNumber);
            EXPECT_EQ(r.wholeUnits1, s.wholeUnits ? 8 : 0);
            EXPECT_EQ(r.calibrationError, s.calibrationError ? 4 : 0);
            EXPECT_EQ(r.unitKlx, s.unitKlx ? 2 : 0);
            EXPECT_EQ(r.measurementError, s.measurementError ? 1 : 0);
            EXPECT_EQ(r.value1, Expected(s.raw, s.wholeUnits, -1)) << "raw " << s.raw;
            // The two-channel fields keep what an earlier frame gave.
            EXPECT_EQ(r.secondChannel, before.secondChannel);
            EXPECT_EQ(r.measurementError1, before.measurementError1);
            EXPECT_EQ(r.measurementError2, before.measurementError2);
            EXPECT_EQ(r.range1, before.range1);
            EXPECT_EQ(r.range2, before.range2);
            EXPECT_EQ(r.wholeUnits2, before.wholeUnits2);
            EXPECT_EQ(r.value2, before.value2);
            ExpectDamageIsCaught(decoder, frame, random);
        }
        else
        {
            Frame24Spec s;
            s.deviceNumber = random.Between(0, 65535);
            s.secondChannel = random.Flag();
            s.calibrationError = random.Flag();
            s.measurementError1 = random.Flag();
            s.measurementError2 = random.Flag();
            s.channel1 = {random.Between(0, 7), random.Flag(), random.Raw()};
            s.channel2 = {random.Between(0, 7), random.Flag(), random.Raw()};
            const Bytes frame = EncodeFrame(s);
            ASSERT_TRUE(decoder.DecodeFrame(frame.data(), 24));
            const MeterReading& r = decoder.reading;
            EXPECT_EQ(r.deviceNumber, s.deviceNumber);
            EXPECT_EQ(r.secondChannel, s.secondChannel ? 8 : 0);
            EXPECT_EQ(r.calibrationError, s.calibrationError ? 4 : 0);
            EXPECT_EQ(r.measurementError1, s.measurementError1 ? 1 : 0);
            EXPECT_EQ(r.measurementError2, s.measurementError2 ? 2 : 0);
            EXPECT_EQ(r.range1, s.channel1.rangeCode);
            EXPECT_EQ(r.range2, s.channel2.rangeCode);
            EXPECT_EQ(r.wholeUnits1, s.channel1.wholeUnits ? 8 : 0);
            EXPECT_EQ(r.wholeUnits2, s.channel2.wholeUnits ? 8 : 0);
            EXPECT_EQ(r.value1,
                      Expected(s.channel1.raw, s.channel1.wholeUnits, s.channel1.rangeCode));
            EXPECT_EQ(r.value2,
                      Expected(s.channel2.raw, s.channel2.wholeUnits, s.channel2.rangeCode));
            EXPECT_EQ(r.unitKlx, before.unitKlx);
            EXPECT_EQ(r.measurementError, before.measurementError);
            ExpectDamageIsCaught(decoder, frame, random);
        }
        EXPECT_EQ(decoder.reading.noReadingYet, 0);
    }
}

TEST(FrameRoundTrip, EveryByteChangeOfEveryValueIsCaughtForOneFrameOfEachKind)
{
    Frame17Spec one;
    one.deviceNumber = 0xBEEF;
    one.raw = -1234;
    Frame24Spec two;
    two.deviceNumber = 4321;
    two.channel1 = {3, false, 99999};
    two.channel2 = {0, true, -9999};
    for (const Bytes& frame : {EncodeFrame(one), EncodeFrame(two)})
    {
        for (std::size_t i = 0; i + 3 < frame.size(); ++i)
        {
            for (int delta = 1; delta < 256; ++delta)
            {
                Bytes damaged = frame;
                damaged[i] = static_cast<std::uint8_t>(damaged[i] + delta);
                FrameDecoder d;
                ASSERT_FALSE(d.DecodeFrame(damaged.data(), static_cast<int>(damaged.size())))
                    << "byte " << i << " +" << delta;
            }
        }
    }
}

} // namespace
