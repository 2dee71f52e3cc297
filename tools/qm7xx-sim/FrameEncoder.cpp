#include "tools/qm7xx-sim/FrameEncoder.h"

#include <algorithm>

namespace
{

constexpr std::uint8_t FLAG_BASE = 0x30; // bits 5 and 4, required in status and format bytes

constexpr int MIN_DEVICE = 0;
constexpr int MAX_DEVICE = 65535;
constexpr int MIN_RAW = -9999;
constexpr int MAX_RAW = 99999;
constexpr int MIN_RANGE = 0;
constexpr int MAX_RANGE = 7;

std::uint8_t Nibble(int value)
{
    return static_cast<std::uint8_t>(0x30 + (value & 0x0F));
}

std::uint8_t Bit(bool set, std::uint8_t mask)
{
    return set ? mask : 0;
}

// Two bytes, low byte first, each as two nibble characters, high nibble first.
void AppendDeviceNumber(std::vector<std::uint8_t>& out, int deviceNumber)
{
    const int n = std::clamp(deviceNumber, MIN_DEVICE, MAX_DEVICE);
    out.push_back(Nibble(n >> 4));
    out.push_back(Nibble(n));
    out.push_back(Nibble(n >> 12));
    out.push_back(Nibble(n >> 8));
}

// Five characters: five digits, or "-" and four digits.
void AppendValue(std::vector<std::uint8_t>& out, int raw)
{
    int v = std::clamp(raw, MIN_RAW, MAX_RAW);
    char field[5];
    if (v < 0)
    {
        field[0] = '-';
        v = -v;
    }
    else
    {
        field[0] = static_cast<char>('0' + v / 10000);
    }
    for (int i = 4; i >= 1; --i)
    {
        field[i] = static_cast<char>('0' + v % 10);
        v /= 10;
    }
    out.insert(out.end(), field, field + 5);
}

std::uint8_t FormatByte(const ChannelSpec& channel)
{
    const int range = std::clamp(channel.rangeCode, MIN_RANGE, MAX_RANGE);
    return static_cast<std::uint8_t>(FLAG_BASE | Bit(channel.wholeUnits, 0x08) | range);
}

void AppendChecksumAndEnd(std::vector<std::uint8_t>& out)
{
    unsigned sum = 0;
    for (std::uint8_t b : out)
    {
        sum += b;
    }
    out.push_back(Nibble(static_cast<int>((sum >> 4) & 0x0F)));
    out.push_back(Nibble(static_cast<int>(sum & 0x0F)));
    out.push_back(0x0D);
}

} // namespace

std::vector<std::uint8_t> EncodeFrame(const Frame17Spec& spec)
{
    std::vector<std::uint8_t> out{0x00, 0x01, 0x40, 0x43};
    out.reserve(17);
    out.push_back(static_cast<std::uint8_t>(
        FLAG_BASE | Bit(spec.wholeUnits, 0x08) | Bit(spec.calibrationError, 0x04) |
        Bit(spec.unitKlx, 0x02) | Bit(spec.measurementError, 0x01)));
    AppendDeviceNumber(out, spec.deviceNumber);
    AppendValue(out, spec.raw);
    AppendChecksumAndEnd(out);
    return out;
}

std::vector<std::uint8_t> EncodeFrame(const Frame24Spec& spec)
{
    std::vector<std::uint8_t> out{0x00, 0x01, 0x40, 0x48};
    out.reserve(24);
    out.push_back(static_cast<std::uint8_t>(
        FLAG_BASE | Bit(spec.secondChannel, 0x08) | Bit(spec.calibrationError, 0x04) |
        Bit(spec.measurementError2, 0x02) | Bit(spec.measurementError1, 0x01)));
    out.push_back(FormatByte(spec.channel1));
    out.push_back(FormatByte(spec.channel2));
    AppendDeviceNumber(out, spec.deviceNumber);
    AppendValue(out, spec.channel1.raw);
    AppendValue(out, spec.channel2.raw);
    AppendChecksumAndEnd(out);
    return out;
}
