#pragma once

// Frames shared by the meter and simulator tests.

#include "meter/FrameDecoder.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

namespace frame_test
{

using Bytes = std::vector<std::uint8_t>;
using namespace std::string_literals;

inline const auto ToBytes = [](const std::string& s) { return Bytes(s.begin(), s.end()); };

// The worked-example frames of the meter's documentation: 17 bytes in kLx, 17 bytes with a
// negative value in whole units, 24 bytes with both channels, 24 bytes with errors.
inline const Bytes KLX = ToBytes("\0\1@C2=2040123483\r"s);
inline const Bytes NEGATIVE = ToBytes("\0\1@C85000-004274\r"s);
inline const Bytes TWO = ToBytes("\0\1@H81;07000056712345?5\r"s);
inline const Bytes ERRORS = ToBytes("\0\1@H52007000100000000<8\r"s);

// A frame with some characters replaced and, unless told not to, the two checksum characters
// made good again (as 0x30 + nibble): the sum of every byte before them, modulo 256.
inline Bytes Edited(Bytes f, std::size_t at, const std::string& chars, bool fixChecksum = true)
{
    std::copy(chars.begin(), chars.end(), f.begin() + static_cast<std::ptrdiff_t>(at));
    const unsigned sum = std::accumulate(f.begin(), f.end() - 3, 0u);
    if (fixChecksum)
        f.end()[-3] = static_cast<std::uint8_t>(0x30 + ((sum >> 4) & 0x0F));
    if (fixChecksum)
        f.end()[-2] = static_cast<std::uint8_t>(0x30 + (sum & 0x0F));
    return f;
}

// Hands a whole frame to the decoder.
inline const auto Decode = [](FrameDecoder& d, const Bytes& f)
{ return d.DecodeFrame(f.data(), static_cast<int>(f.size())); };

} // namespace frame_test
