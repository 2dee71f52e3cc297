#pragma once

// Checks a candidate frame from the meter and, when it is good, updates the reading in place.
// No input or output: a function of (previous reading, frame bytes).

#include "meter/MeterReading.h"

#include <cstdint>

class FrameDecoder
{
public:
    MeterReading reading;

    // True when the frame was accepted. The tests run in a fixed order and each stores its
    // fields as it passes, so a frame rejected late leaves the fields of earlier steps changed.
    // A null pointer or a count outside 1..24 is refused without touching the reading.
    bool DecodeFrame(const std::uint8_t* bytes, int count);

    // The checksum test of the stored copy; false for a stored length below 3 or above 24.
    bool ChecksumMatches() const;

    // The byte with bit 6 cleared; digits and nibbles are CharValue(c) - 0x30.
    static int CharValue(std::uint8_t c);
};
