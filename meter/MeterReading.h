#pragma once

// The decoded state of the meter. One instance lives in the main window's FrameDecoder and is
// updated in place by every good frame; fields that a frame kind does not carry keep the values
// of an earlier frame. Flag fields hold the masked bit itself (0 or the mask), so consumers test
// them for non-zero.

#include <cstdint>

struct MeterReading
{
    std::int32_t noReadingYet = 1;      // 1 until the first frame is accepted, then 0 for ever
    std::int32_t frameLength = 0;       // byte count of the last candidate
    std::int32_t wholeUnits1 = 0;       // 0 or 8: channel-1 value sent in whole units
    std::int32_t wholeUnits2 = 0;       // 0 or 8: channel-2 value sent in whole units
    std::int32_t calibrationError = 0;  // 0 or 4
    std::int32_t unitKlx = 0;           // 0 or 2: one-channel value in kLx (clear: W/m2)
    std::int32_t measurementError = 0;  // 0 or 1: one-channel meter
    std::int32_t secondChannel = 0;     // 0 or 8: two-channel meter has its second channel
    std::int32_t measurementError2 = 0; // 0 or 2
    std::int32_t measurementError1 = 0; // 0 or 1
    std::int32_t range1 = 0;            // 0..7
    std::int32_t range2 = 0;            // 0..7
    std::int32_t deviceNumber = 0;
    double value1 = 0.0;         // channel 1 (or the only channel), scaled
    double value2 = 0.0;         // channel 2, scaled
    std::uint8_t frame[24] = {}; // copy of the last candidate's bytes
};
