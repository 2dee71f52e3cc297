// libFuzzer target for the meter's reception: FrameDecoder::DecodeFrame and FrameAssembler.
//
// Input: one control byte, then the candidate's bytes, passed with their own count (0 passes a
// null pointer). (control >> 4) & 3 is the state before the call: fresh, after a good 17-byte
// frame, after a good 24-byte frame, or after both. The same bytes, control byte included, are then
// fed to an assembler. Every invariant that a fault would break aborts.

#include "meter/FrameAssembler.h"
#include "meter/FrameDecoder.h"
#include "meter/FrameEncoder.h"

#include <cmath>
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

bool Same(const void* a, const void* b, std::size_t size)
{
    return std::memcmp(a, b, size) == 0;
}

bool IsFlag(std::int32_t value, std::int32_t mask)
{
    return value == 0 || value == mask;
}

// The raw integer behind a scaled value; false when the value is not an integer times the factor.
bool RawBehind(double value, bool wholeUnits, std::int32_t range, long long& raw)
{
    const double unscaled = value / ((wholeUnits ? 1.0 : 0.1) * (range == 3 ? 0.01 : 1.0));
    raw = std::llround(unscaled);
    return std::fabs(unscaled - static_cast<double>(raw)) < 1e-6;
}

// A canonical frame with the decoded content must decode to the very same record.
void CheckReencoding(const MeterReading& r, bool two)
{
    long long raw1 = 0;
    long long raw2 = 0;
    FUZZ_CHECK(RawBehind(r.value1, r.wholeUnits1 != 0, two ? r.range1 : -1, raw1));
    FUZZ_CHECK(!two || RawBehind(r.value2, r.wholeUnits2 != 0, r.range2, raw2));
    if (r.deviceNumber < 0 || r.deviceNumber > 65535 || raw1 < -9999 || raw1 > 99999 ||
        raw2 < -9999 || raw2 > 99999)
        return; // out-of-range characters gave a content no meter sends
    const std::vector<std::uint8_t> frame =
        two ? EncodeFrame(Frame24Spec{r.deviceNumber,
                                      r.secondChannel != 0,
                                      r.calibrationError != 0,
                                      r.measurementError1 != 0,
                                      r.measurementError2 != 0,
                                      {r.range1, r.wholeUnits1 != 0, static_cast<int>(raw1)},
                                      {r.range2, r.wholeUnits2 != 0, static_cast<int>(raw2)}})
            : EncodeFrame(Frame17Spec{r.deviceNumber, r.wholeUnits1 != 0, r.calibrationError != 0,
                                      r.unitKlx != 0, r.measurementError != 0,
                                      static_cast<int>(raw1)});
    FrameDecoder again;
    again.reading = r;
    FUZZ_CHECK(again.DecodeFrame(frame.data(), static_cast<int>(frame.size())));
    MeterReading expected = r;
    std::memcpy(expected.frame, frame.data(), frame.size());
    FUZZ_CHECK(Same(&again.reading, &expected, sizeof expected));
}

void CheckAccepted(const MeterReading& before, const FrameDecoder& d)
{
    const MeterReading& r = d.reading;
    const std::uint8_t* f = r.frame;
    FUZZ_CHECK(f[0] == 0x00 && f[1] == 0x01 && d.ChecksumMatches() && r.noReadingYet == 0);
    FUZZ_CHECK((f[4] & 0x30) == 0x30 && IsFlag(r.wholeUnits1, 8) && IsFlag(r.calibrationError, 4));
    FUZZ_CHECK(std::isfinite(r.value1) && std::isfinite(r.value2));
    const int type = FrameDecoder::CharValue(f[2]) * 64 + FrameDecoder::CharValue(f[3]);
    if (r.frameLength == 17)
    {
        FUZZ_CHECK(type == 3 && IsFlag(r.unitKlx, 2) && IsFlag(r.measurementError, 1));
        // The two-channel fields are not carried by this frame.
        FUZZ_CHECK(r.secondChannel == before.secondChannel && r.range1 == before.range1 &&
                   r.range2 == before.range2 && r.wholeUnits2 == before.wholeUnits2 &&
                   r.measurementError1 == before.measurementError1 &&
                   r.measurementError2 == before.measurementError2 &&
                   Same(&r.value2, &before.value2, sizeof r.value2));
    }
    else
    {
        FUZZ_CHECK(r.frameLength == 24 && type == 8);
        FUZZ_CHECK((f[5] & 0x30) == 0x30 && (f[6] & 0x30) == 0x30);
        FUZZ_CHECK(IsFlag(r.secondChannel, 8) && IsFlag(r.measurementError1, 1) &&
                   IsFlag(r.measurementError2, 2) && IsFlag(r.wholeUnits2, 8));
        FUZZ_CHECK(r.range1 == (f[5] & 0x07) && r.range2 == (f[6] & 0x07));
        FUZZ_CHECK(r.unitKlx == before.unitKlx && r.measurementError == before.measurementError);
    }
    CheckReencoding(r, r.frameLength == 24);
}

void Prepare(FrameDecoder& d, int state)
{
    const auto frame17 = EncodeFrame(Frame17Spec{4660, false, false, true, true, 4321});
    const auto frame24 = EncodeFrame(
        Frame24Spec{65535, true, true, false, true, {3, false, 99999}, {6, true, -9999}});
    FUZZ_CHECK(!(state & 2) || d.DecodeFrame(frame24.data(), 24));
    FUZZ_CHECK(!(state & 1) || d.DecodeFrame(frame17.data(), 17));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // An exact-size heap copy, so that reading past the candidate is caught.
    const std::vector<std::uint8_t> bytes(data + 1, data + size);
    const std::uint8_t* pointer = bytes.empty() ? nullptr : bytes.data();
    const int count = static_cast<int>(bytes.size());

    FrameDecoder d;
    Prepare(d, (data[0] >> 4) & 3);
    const MeterReading before = d.reading;
    const bool accepted = d.DecodeFrame(pointer, count);
    if (pointer == nullptr || count > 24)
    {
        FUZZ_CHECK(!accepted && Same(&before, &d.reading, sizeof before));
    }
    else
    {
        FUZZ_CHECK(d.reading.frameLength == count && Same(d.reading.frame, pointer, bytes.size()));
        FUZZ_CHECK(Same(d.reading.frame + count, before.frame + count,
                        sizeof before.frame - bytes.size()));
        if (accepted)
            CheckAccepted(before, d);
        else // whatever step failed, a rejected frame gives no reading
            FUZZ_CHECK(d.reading.noReadingYet == before.noReadingYet &&
                       d.reading.deviceNumber == before.deviceNumber &&
                       Same(&d.reading.value1, &before.value1, sizeof before.value1) &&
                       Same(&d.reading.value2, &before.value2, sizeof before.value2));
    }

    FrameAssembler assembler;
    FrameDecoder decoder;
    for (std::size_t i = 0; i < size; ++i)
    {
        const FrameOutcome outcome = assembler.Feed(data[i], decoder);
        FUZZ_CHECK(assembler.Count() >= 0 && assembler.Count() < FrameAssembler::BUFFER_SIZE);
        FUZZ_CHECK(outcome == FrameOutcome::NothingYet ||
                   ((assembler.LastLength() == 17 || assembler.LastLength() == 24) &&
                    data[i] == 0x0D && assembler.Count() == 0));
        FUZZ_CHECK(outcome != FrameOutcome::GoodFrame || decoder.reading.noReadingYet == 0);
    }
    return 0;
}
