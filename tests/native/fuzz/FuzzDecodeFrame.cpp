// libFuzzer target for FrameDecoder::DecodeFrame.
//
// Input: one control byte, then the candidate's bytes.
//   control & 0x0F  how the candidate is passed: 1..5 give the counts 0, -1, INT_MAX, INT_MIN and
//                   25, 6 a null pointer; anything else passes the bytes with their own count
//   control & 0x30  state before the call: fresh, after a good 17-byte frame, after a good
//                   24-byte frame, or after both
//   control & 0x40  afterwards, ask for the checksum of a stored length outside the record
// Every invariant that a fault would break aborts.

#include "meter/FrameDecoder.h"
#include "meter/FrameEncoder.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

#define FUZZ_CHECK(condition)                                                                      \
    do                                                                                             \
    {                                                                                              \
        if (!(condition))                                                                          \
        {                                                                                          \
            std::fprintf(stderr, "invariant failed: %s (line %d)\n", #condition, __LINE__);        \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

bool SameDouble(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameRecord(const MeterReading& a, const MeterReading& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Everything a rejected frame may not have stored, whatever step it failed at.
void CheckNeverStoredByRejection(const MeterReading& before, const MeterReading& after)
{
    FUZZ_CHECK(after.noReadingYet == before.noReadingYet);
    FUZZ_CHECK(after.deviceNumber == before.deviceNumber);
    FUZZ_CHECK(SameDouble(after.value1, before.value1));
    FUZZ_CHECK(SameDouble(after.value2, before.value2));
    FUZZ_CHECK(after.unitKlx == before.unitKlx);
    FUZZ_CHECK(after.measurementError == before.measurementError);
}

// Only the copy and its length changed.
void CheckOnlyCopyStored(MeterReading before, const MeterReading& after)
{
    before.frameLength = after.frameLength;
    std::memcpy(before.frame, after.frame, sizeof before.frame);
    FUZZ_CHECK(SameRecord(before, after));
}

bool IsFlag(std::int32_t value, std::int32_t mask)
{
    return value == 0 || value == mask;
}

// The raw integer behind a scaled value; false when the value is not an integer times the factor.
bool RawBehind(double value, bool wholeUnits, std::int32_t range, long long& raw)
{
    double factor = wholeUnits ? 1.0 : 0.1;
    if (range == 3)
    {
        factor *= 0.01;
    }
    const double unscaled = value / factor;
    raw = std::llround(unscaled);
    return std::fabs(unscaled - static_cast<double>(raw)) < 1e-6;
}

bool Encodable(long long raw)
{
    return raw >= -9999 && raw <= 99999;
}

// A canonical frame with the decoded content must decode to the very same fields.
void CheckReencoding(const MeterReading& r, bool twoChannels)
{
    long long raw1 = 0;
    long long raw2 = 0;
    FUZZ_CHECK(RawBehind(r.value1, r.wholeUnits1 != 0, twoChannels ? r.range1 : -1, raw1));
    if (twoChannels)
    {
        FUZZ_CHECK(RawBehind(r.value2, r.wholeUnits2 != 0, r.range2, raw2));
    }
    if (r.deviceNumber < 0 || r.deviceNumber > 65535 || !Encodable(raw1) || !Encodable(raw2))
    {
        return; // out-of-range characters gave a content no meter sends
    }
    FrameDecoder again;
    std::vector<std::uint8_t> frame;
    if (twoChannels)
    {
        Frame24Spec s;
        s.deviceNumber = r.deviceNumber;
        s.secondChannel = r.secondChannel != 0;
        s.calibrationError = r.calibrationError != 0;
        s.measurementError1 = r.measurementError1 != 0;
        s.measurementError2 = r.measurementError2 != 0;
        s.channel1 = {r.range1, r.wholeUnits1 != 0, static_cast<int>(raw1)};
        s.channel2 = {r.range2, r.wholeUnits2 != 0, static_cast<int>(raw2)};
        frame = EncodeFrame(s);
    }
    else
    {
        Frame17Spec s;
        s.deviceNumber = r.deviceNumber;
        s.wholeUnits = r.wholeUnits1 != 0;
        s.calibrationError = r.calibrationError != 0;
        s.unitKlx = r.unitKlx != 0;
        s.measurementError = r.measurementError != 0;
        s.raw = static_cast<int>(raw1);
        frame = EncodeFrame(s);
    }
    again.reading = r;
    FUZZ_CHECK(again.DecodeFrame(frame.data(), static_cast<int>(frame.size())));
    MeterReading expected = r;
    std::memcpy(expected.frame, frame.data(), frame.size());
    FUZZ_CHECK(SameRecord(again.reading, expected));
}

void CheckAccepted(const MeterReading& before, const FrameDecoder& d)
{
    const MeterReading& r = d.reading;
    const std::uint8_t* f = r.frame;
    FUZZ_CHECK(r.frameLength == 17 || r.frameLength == 24);
    FUZZ_CHECK(f[0] == 0x00 && f[1] == 0x01);
    FUZZ_CHECK(d.ChecksumMatches());
    FUZZ_CHECK(r.noReadingYet == 0);
    FUZZ_CHECK((f[4] & 0x30) == 0x30);
    FUZZ_CHECK(IsFlag(r.wholeUnits1, 8) && IsFlag(r.calibrationError, 4));
    FUZZ_CHECK(std::isfinite(r.value1) && std::isfinite(r.value2));
    const int type = FrameDecoder::CharValue(f[2]) * 64 + FrameDecoder::CharValue(f[3]);
    if (r.frameLength == 17)
    {
        FUZZ_CHECK(type == 3);
        FUZZ_CHECK(IsFlag(r.unitKlx, 2) && IsFlag(r.measurementError, 1));
        FUZZ_CHECK(r.wholeUnits1 == (f[4] & 0x08));
        // The two-channel fields are not carried by this frame.
        FUZZ_CHECK(r.secondChannel == before.secondChannel);
        FUZZ_CHECK(r.measurementError1 == before.measurementError1);
        FUZZ_CHECK(r.measurementError2 == before.measurementError2);
        FUZZ_CHECK(r.range1 == before.range1 && r.range2 == before.range2);
        FUZZ_CHECK(r.wholeUnits2 == before.wholeUnits2);
        FUZZ_CHECK(SameDouble(r.value2, before.value2));
        CheckReencoding(r, false);
    }
    else
    {
        FUZZ_CHECK(type == 8);
        FUZZ_CHECK((f[5] & 0x30) == 0x30 && (f[6] & 0x30) == 0x30);
        FUZZ_CHECK(IsFlag(r.secondChannel, 8) && IsFlag(r.measurementError1, 1) &&
                   IsFlag(r.measurementError2, 2) && IsFlag(r.wholeUnits2, 8));
        FUZZ_CHECK(r.range1 == (f[5] & 0x07) && r.range2 == (f[6] & 0x07));
        FUZZ_CHECK(r.unitKlx == before.unitKlx);
        FUZZ_CHECK(r.measurementError == before.measurementError);
        CheckReencoding(r, true);
    }
}

void Prepare(FrameDecoder& d, int state)
{
    Frame17Spec one;
    one.deviceNumber = 4660;
    one.unitKlx = true;
    one.measurementError = true;
    one.raw = 4321;
    Frame24Spec two;
    two.deviceNumber = 65535;
    two.calibrationError = true;
    two.measurementError2 = true;
    two.channel1 = {3, false, 99999};
    two.channel2 = {6, true, -9999};
    const auto frame17 = EncodeFrame(one);
    const auto frame24 = EncodeFrame(two);
    if (state & 2)
    {
        FUZZ_CHECK(d.DecodeFrame(frame24.data(), 24));
    }
    if (state & 1)
    {
        FUZZ_CHECK(d.DecodeFrame(frame17.data(), 17));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
    {
        return 0;
    }
    const int control = data[0];
    // An exact-size heap copy, so that reading past the candidate is caught.
    const std::vector<std::uint8_t> bytes(data + 1, data + size);
    const std::uint8_t* pointer = bytes.empty() ? nullptr : bytes.data();
    const int ownCount = static_cast<int>(bytes.size());
    int count = ownCount;
    switch (control & 0x0F)
    {
    case 1:
        count = 0;
        break;
    case 2:
        count = -1;
        break;
    case 3:
        count = INT_MAX;
        break;
    case 4:
        count = INT_MIN;
        break;
    case 5:
        count = 25;
        break;
    case 6:
        pointer = nullptr;
        break;
    default:
        break;
    }

    FrameDecoder d;
    Prepare(d, (control >> 4) & 3);
    const MeterReading before = d.reading;
    const bool accepted = d.DecodeFrame(pointer, count);

    if (pointer == nullptr || count < 1 || count > 24)
    {
        FUZZ_CHECK(!accepted);
        FUZZ_CHECK(SameRecord(before, d.reading));
    }
    else
    {
        FUZZ_CHECK(d.reading.frameLength == count);
        FUZZ_CHECK(std::memcmp(d.reading.frame, pointer, static_cast<std::size_t>(count)) == 0);
        FUZZ_CHECK(std::memcmp(d.reading.frame + count, before.frame + count,
                               sizeof before.frame - static_cast<std::size_t>(count)) == 0);
        if (accepted)
        {
            CheckAccepted(before, d);
        }
        else
        {
            CheckNeverStoredByRejection(before, d.reading);
            const bool headerGood =
                (count == 17 || count == 24) && pointer[0] == 0x00 && pointer[1] == 0x01;
            if (!d.ChecksumMatches() || !headerGood)
            {
                CheckOnlyCopyStored(before, d.reading);
            }
        }
    }

    if (control & 0x40)
    {
        static const int badLengths[] = {-1, 0, 1, 2, 25, 1000, INT_MAX, INT_MIN};
        d.reading.frameLength = badLengths[size % (sizeof badLengths / sizeof badLengths[0])];
        FUZZ_CHECK(!d.ChecksumMatches());
    }
    return 0;
}
