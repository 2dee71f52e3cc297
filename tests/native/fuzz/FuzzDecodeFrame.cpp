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
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

// Aborts when an invariant does not hold; the fuzzer reports the stack, this line included.
void Require(bool holds)
{
    if (!holds)
        std::abort();
}

bool Same(const void* a, const void* b, std::size_t size)
{
    return std::memcmp(a, b, size) == 0;
}

// The raw integer behind a scaled value, checked to be an integer times the factor.
long long RawBehind(double value, std::int32_t wholeUnits, std::int32_t range)
{
    const double unscaled = value / ((wholeUnits ? 1.0 : 0.1) * (range == 3 ? 0.01 : 1.0));
    Require(std::fabs(unscaled - std::nearbyint(unscaled)) < 1e-6);
    return std::llround(unscaled);
}

// An accepted frame decodes exactly like the canonical frame of the same content.
void CheckAccepted(const FrameDecoder& d, const std::vector<std::uint8_t>& candidate)
{
    const MeterReading& r = d.reading;
    Require(Same(r.frame, candidate.data(), candidate.size()) && d.ChecksumMatches());
    const bool two = r.frameLength == 24;
    const long long raw1 = RawBehind(r.value1, r.wholeUnits1, two ? r.range1 : -1);
    const long long raw2 = two ? RawBehind(r.value2, r.wholeUnits2, r.range2) : 0;
    if (r.deviceNumber < 0 || r.deviceNumber > 65535 || raw1 < -9999 || raw1 > 99999 ||
        raw2 < -9999 || raw2 > 99999)
        return; // out-of-range characters gave a content no meter sends
    std::vector<std::uint8_t> frame =
        EncodeFrame(Frame17Spec{r.deviceNumber, r.wholeUnits1 != 0, r.calibrationError != 0,
                                r.unitKlx != 0, r.measurementError != 0, int(raw1)});
    if (two)
        frame = EncodeFrame(Frame24Spec{
            r.deviceNumber, r.secondChannel != 0, r.calibrationError != 0, r.measurementError1 != 0,
            r.measurementError2 != 0, ChannelSpec{r.range1, r.wholeUnits1 != 0, int(raw1)},
            ChannelSpec{r.range2, r.wholeUnits2 != 0, int(raw2)}});
    FrameDecoder again;
    again.reading = r;
    Require(again.DecodeFrame(frame.data(), static_cast<int>(frame.size())));
    MeterReading expected = r;
    std::memcpy(expected.frame, frame.data(), frame.size());
    Require(Same(&again.reading, &expected, sizeof expected));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // An exact-size heap copy, so that reading past the candidate is caught.
    const std::vector<std::uint8_t> bytes(data + 1, data + size);
    const int count = static_cast<int>(bytes.size());
    FrameDecoder d;
    const auto frame17 = EncodeFrame(Frame17Spec{4660, false, false, true, true, 4321});
    const auto frame24 = EncodeFrame(
        Frame24Spec{65535, true, true, false, true, {3, false, 99999}, {6, true, -9999}});
    Require(!(data[0] & 0x20) || d.DecodeFrame(frame24.data(), 24));
    Require(!(data[0] & 0x10) || d.DecodeFrame(frame17.data(), 17));
    const MeterReading before = d.reading;
    const bool accepted = d.DecodeFrame(count == 0 ? nullptr : bytes.data(), count);
    if (count == 0 || count > 24)
        Require(!accepted && Same(&before, &d.reading, sizeof before));
    else if (accepted)
        CheckAccepted(d, bytes);
    else // whatever step failed, a rejected frame gives no reading
        Require(Same(d.reading.frame, bytes.data(), bytes.size()) &&
                d.reading.noReadingYet == before.noReadingYet &&
                d.reading.deviceNumber == before.deviceNumber &&
                Same(&d.reading.value1, &before.value1, sizeof before.value1) &&
                Same(&d.reading.value2, &before.value2, sizeof before.value2));

    FrameAssembler assembler;
    FrameDecoder decoder;
    for (std::size_t i = 0; i < size; ++i)
    {
        const FrameOutcome outcome = assembler.Feed(data[i], decoder);
        Require(assembler.Count() >= 0 && assembler.Count() < FrameAssembler::BUFFER_SIZE);
        Require(outcome == FrameOutcome::NothingYet || (data[i] == 0x0D && assembler.Count() == 0));
        Require(outcome != FrameOutcome::GoodFrame || decoder.reading.noReadingYet == 0);
    }
    return 0;
}
