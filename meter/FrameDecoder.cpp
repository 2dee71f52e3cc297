#include "meter/FrameDecoder.h"

#include <cstring>

namespace
{

constexpr int ONE_CHANNEL_LENGTH = 17;
constexpr int TWO_CHANNEL_LENGTH = 24;
constexpr int MAX_FRAME_LENGTH = static_cast<int>(sizeof(MeterReading::frame));
constexpr int MIN_CHECKSUMMED_LENGTH = 3; // the two checksum characters and the terminator

constexpr int ONE_CHANNEL_TYPE = 3;
constexpr int TWO_CHANNEL_TYPE = 8;

constexpr int REQUIRED_BITS = 0x30; // bits 5 and 4 of every status and format byte
constexpr int WHOLE_UNITS = 0x08;
constexpr int RANGE_MASK = 0x07;
constexpr int FINE_RANGE = 3; // W/m2 at 0.01
constexpr int SIGN = 0x2D;    // "-"

constexpr double TENTH = 0.1;
constexpr double HUNDREDTH = 0.01;

int Digit(const std::uint8_t* frame, int index)
{
    return FrameDecoder::CharValue(frame[index]) - 0x30;
}

bool HasRequiredBits(int b)
{
    return (b & REQUIRED_BITS) == REQUIRED_BITS;
}

int TypeCode(const std::uint8_t* frame)
{
    return FrameDecoder::CharValue(frame[2]) * 64 + FrameDecoder::CharValue(frame[3]);
}

// Four nibble characters: the low byte (high nibble first) at `at`, then the high byte.
std::int32_t DeviceNumber(const std::uint8_t* frame, int at)
{
    return Digit(frame, at + 2) * 4096 + Digit(frame, at + 3) * 256 + Digit(frame, at) * 16 +
           Digit(frame, at + 1);
}

// Five characters: "-" and four digits, or five digits. Out-of-range characters are not errors;
// they add whatever their position gives (the sums cannot overflow: |digit| <= 143).
std::int32_t RawValue(const std::uint8_t* frame, int at)
{
    const std::int32_t lowFour = Digit(frame, at + 1) * 1000 + Digit(frame, at + 2) * 100 +
                                 Digit(frame, at + 3) * 10 + Digit(frame, at + 4);
    if (FrameDecoder::CharValue(frame[at]) == SIGN)
    {
        return -lowFour;
    }
    return Digit(frame, at) * 10000 + lowFour;
}

// The meter's scale factors are applied as multiplications by the double constants.
double ScaledValue(std::int32_t raw, std::int32_t wholeUnits, std::int32_t range)
{
    double value = static_cast<double>(raw);
    if (wholeUnits == 0)
    {
        value *= TENTH;
    }
    if (range == FINE_RANGE)
    {
        value *= HUNDREDTH;
    }
    return value;
}

bool DecodeOneChannel(MeterReading& r)
{
    const std::uint8_t* f = r.frame;
    if (TypeCode(f) != ONE_CHANNEL_TYPE)
    {
        return false;
    }
    const int status = f[4];
    if (!HasRequiredBits(status))
    {
        return false;
    }
    r.wholeUnits1 = status & WHOLE_UNITS;
    r.calibrationError = status & 0x04;
    r.measurementError = status & 0x01;
    r.unitKlx = status & 0x02;
    r.deviceNumber = DeviceNumber(f, 5);
    // The one-channel frame has no range code: never the 0.01 factor.
    r.value1 = ScaledValue(RawValue(f, 9), r.wholeUnits1, 0);
    r.noReadingYet = 0;
    return true;
}

bool DecodeTwoChannels(MeterReading& r)
{
    const std::uint8_t* f = r.frame;
    if (TypeCode(f) != TWO_CHANNEL_TYPE)
    {
        return false;
    }
    const int status = f[4];
    if (!HasRequiredBits(status))
    {
        return false;
    }
    r.secondChannel = status & 0x08;
    r.calibrationError = status & 0x04;
    r.measurementError1 = status & 0x01;
    r.measurementError2 = status & 0x02;

    const int format1 = f[5];
    if (!HasRequiredBits(format1))
    {
        return false;
    }
    r.range1 = format1 & RANGE_MASK;
    r.wholeUnits1 = format1 & WHOLE_UNITS;

    const int format2 = f[6];
    if (!HasRequiredBits(format2))
    {
        return false;
    }
    r.wholeUnits2 = format2 & WHOLE_UNITS;
    r.range2 = format2 & RANGE_MASK;

    r.deviceNumber = DeviceNumber(f, 7);
    r.value1 = ScaledValue(RawValue(f, 11), r.wholeUnits1, r.range1);
    r.value2 = ScaledValue(RawValue(f, 16), r.wholeUnits2, r.range2);
    r.noReadingYet = 0;
    return true;
}

} // namespace

int FrameDecoder::CharValue(std::uint8_t c)
{
    const int b = c & 0xFF;
    return b - (b & 0x40);
}

bool FrameDecoder::ChecksumMatches() const
{
    const int length = reading.frameLength;
    if (length < MIN_CHECKSUMMED_LENGTH || length > MAX_FRAME_LENGTH)
    {
        return false;
    }
    unsigned sum = 0;
    for (int i = 0; i <= length - 4; ++i)
    {
        sum += reading.frame[i];
    }
    const unsigned expected =
        (reading.frame[length - 3] % 16u) * 16u + reading.frame[length - 2] % 16u;
    return sum % 256u == expected;
}

bool FrameDecoder::DecodeFrame(const std::uint8_t* bytes, int count)
{
    // Our own rule: the copy must fit the record, so a null pointer or a count outside 1..24
    // is refused before anything is stored (the reception only ever passes 17 or 24).
    if (bytes == nullptr || count < 1 || count > MAX_FRAME_LENGTH)
    {
        return false;
    }
    std::memcpy(reading.frame, bytes, static_cast<std::size_t>(count));
    reading.frameLength = count;

    if (!ChecksumMatches())
    {
        return false;
    }
    // The two leading bytes are compared raw, not through CharValue: 0x40 or 0x30 will not do.
    if (reading.frame[0] != 0x00 || reading.frame[1] != 0x01)
    {
        return false;
    }
    if (count == ONE_CHANNEL_LENGTH)
    {
        return DecodeOneChannel(reading);
    }
    if (count == TWO_CHANNEL_LENGTH)
    {
        return DecodeTwoChannels(reading);
    }
    return false;
}
