#pragma once

// Cuts a meter byte stream into candidate frames the way the program's reception does (a
// carriage return at a count of exactly 17 or 24 closes a candidate; any other count starts over;
// a run of 49 bytes without one is dropped) and decodes each with the program's FrameDecoder.

#include "meter/FrameDecoder.h"

#include <cstdint>
#include <vector>

struct DecodedCandidate
{
    bool accepted = false;
    MeterReading reading; // after this candidate
};

inline std::vector<DecodedCandidate> DecodeStream(const std::vector<std::uint8_t>& stream)
{
    std::vector<DecodedCandidate> candidates;
    FrameDecoder decoder;
    std::uint8_t buffer[50] = {};
    int count = 0;
    for (const std::uint8_t byte : stream)
    {
        ++count;
        if (count >= 50)
        {
            count = 0;
            continue;
        }
        buffer[count - 1] = byte;
        if (count < 17 || byte != 0x0D)
            continue;
        if (count == 17 || count == 24)
        {
            const bool accepted = decoder.DecodeFrame(buffer, count);
            candidates.push_back({accepted, decoder.reading});
        }
        count = 0;
    }
    return candidates;
}
