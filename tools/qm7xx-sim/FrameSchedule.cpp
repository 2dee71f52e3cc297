#include "tools/qm7xx-sim/FrameSchedule.h"

#include "tools/qm7xx-sim/FrameEncoder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{

constexpr std::uint8_t CARRIAGE_RETURN = 0x0D;
// 0x00..0x7F without the carriage return.
constexpr unsigned SEVEN_BIT_NOISE_VALUES = 0x80 - 1;

const char* RangeName(int rangeCode)
{
    static const char* const names[] = {"W/m2", "kLx", "umol/(s*m2)", "W/m2"};
    return rangeCode >= 0 && rangeCode <= 3 ? names[rangeCode] : "(no unit)";
}

} // namespace

FrameSchedule::FrameSchedule(const SimOptions& options)
    : options_(options),
      drift1_(options.level1, options.driftPercent, options.fixedValues, options.seed),
      drift2_(options.level2, options.driftPercent, options.fixedValues, options.seed + 1),
      noise_(options.seed + 2)
{
}

bool FrameSchedule::Next(Transmission& out)
{
    const int number = frameNumber_ + 1;
    if (options_.frameLimit != 0 && number > options_.frameLimit)
        return false;

    long long nominal = static_cast<long long>(number - 1) * options_.intervalMs;
    if (options_.silenceAfterFrame != 0 && number > options_.silenceAfterFrame)
        nominal += std::llround(options_.silenceSeconds * 1000.0);
    // A frame never starts before the previous one is out (a short interval with 300-baud pacing).
    const long long start = std::max(nominal, lineFreeMs_);
    if (options_.durationSeconds > 0 && start >= std::llround(options_.durationSeconds * 1000.0))
        return false;

    frameNumber_ = number;
    Transmission t;
    t.frameNumber = number;
    t.startMs = start;
    t.bytes = EncodeFrame(t);
    t.frameSize = t.bytes.size();
    if (options_.badChecksumEvery != 0 && number % options_.badChecksumEvery == 0)
    {
        // Only the low nibble of each checksum character counts: change that of the second.
        std::uint8_t& low = t.bytes[t.frameSize - 2];
        low = static_cast<std::uint8_t>(0x30 + (((low & 0x0F) + 1) & 0x0F));
        t.badChecksum = true;
    }
    if (options_.strayEvery != 0 && number % options_.strayEvery == 0)
        AddStrayBurst(t);

    lineFreeMs_ = ByteTimeMs(t, t.bytes.size() - 1) + (options_.fast ? 0 : LINE_BYTE_MS);
    out = std::move(t);
    return true;
}

long long FrameSchedule::ByteTimeMs(const Transmission& t, std::size_t index) const
{
    return options_.fast ? t.startMs : t.startMs + static_cast<long long>(index) * LINE_BYTE_MS;
}

std::vector<std::uint8_t> FrameSchedule::EncodeFrame(Transmission& t)
{
    const bool changed = options_.changeAtFrame != 0 && t.frameNumber >= options_.changeAtFrame;
    const MeterChange none;
    const MeterChange& change = changed ? options_.change : none;
    t.measurementError1 = options_.measurementError1.Contains(t.frameNumber);
    t.measurementError2 = options_.measurementError2.Contains(t.frameNumber);
    t.calibrationError = options_.calibrationError.Contains(t.frameNumber);

    if (options_.model == MeterModel::QM700)
    {
        t.unitKlx = change.unitKlx.value_or(options_.unitKlx);
        t.value1 = EncodeValue(drift1_.Next(), 1);
        Frame17Spec spec;
        spec.deviceNumber = options_.deviceNumber;
        spec.wholeUnits = t.value1.wholeUnits;
        spec.calibrationError = t.calibrationError;
        spec.unitKlx = t.unitKlx;
        spec.measurementError = t.measurementError1;
        spec.raw = t.value1.raw;
        return ::EncodeFrame(spec);
    }

    t.twoChannelFrame = true;
    t.secondChannel = change.secondChannel.value_or(options_.secondChannel);
    t.range1 = change.range1.value_or(options_.range1);
    t.range2 = change.range2.value_or(options_.range2);
    t.value1 = EncodeValue(drift1_.Next(), t.range1);
    const double second = drift2_.Next(); // drawn either way, so channel 1 does not depend on it
    // A meter whose second channel is off sends zero there.
    t.value2 = t.secondChannel ? EncodeValue(second, t.range2) : EncodedValue{};
    Frame24Spec spec;
    spec.deviceNumber = options_.deviceNumber;
    spec.secondChannel = t.secondChannel;
    spec.calibrationError = t.calibrationError;
    spec.measurementError1 = t.measurementError1;
    spec.measurementError2 = t.measurementError2;
    spec.channel1 = {t.range1, t.value1.wholeUnits, t.value1.raw};
    spec.channel2 = {t.range2, t.value2.wholeUnits, t.value2.raw};
    return ::EncodeFrame(spec);
}

void FrameSchedule::AddStrayBurst(Transmission& t)
{
    // Any byte a 7-bit line carries (0x00..0x7F) but a carriage return, so that what a receiver
    // makes of the burst depends only on its length: it runs into the next frame. A byte above
    // 0x7F would reach the receiver with its top bit cleared, 0x8D as a carriage return.
    for (int i = 0; i < options_.strayCount; ++i)
    {
        std::uint8_t b = static_cast<std::uint8_t>(noise_() % SEVEN_BIT_NOISE_VALUES);
        if (b >= CARRIAGE_RETURN)
            ++b;
        t.bytes.push_back(b);
    }
    t.strayBytes = static_cast<std::size_t>(options_.strayCount);
}

std::string Describe(const Transmission& t, const SimOptions& options)
{
    char line[200];
    if (!t.twoChannelFrame)
    {
        std::snprintf(line, sizeof line, "frame %d at %lld ms: QM-700 #%d, %.4g %s", t.frameNumber,
                      t.startMs, options.deviceNumber, DecodedValue(t.value1, 1),
                      t.unitKlx ? "kLx" : "W/m2");
    }
    else
    {
        std::snprintf(line, sizeof line, "frame %d at %lld ms: QM-701 #%d, %.6g %s", t.frameNumber,
                      t.startMs, options.deviceNumber, DecodedValue(t.value1, t.range1),
                      RangeName(t.range1));
        std::string text = line;
        if (t.secondChannel)
            std::snprintf(line, sizeof line, "%s; %.6g %s", text.c_str(),
                          DecodedValue(t.value2, t.range2), RangeName(t.range2));
        else
            std::snprintf(line, sizeof line, "%s; second channel off", text.c_str());
    }
    std::string text = line;
    if (t.measurementError1)
        text += t.twoChannelFrame ? " [measurement error 1]" : " [measurement error]";
    if (t.measurementError2)
        text += " [measurement error 2]";
    if (t.calibrationError)
        text += " [calibration error]";
    if (t.badChecksum)
        text += " [bad checksum]";
    if (t.strayBytes != 0)
        text += " [+" + std::to_string(t.strayBytes) + " stray bytes]";
    return text;
}
