#pragma once

// Builds meter frames: the exact bytes a QM-700 (17 bytes) or QM-701 (24 bytes) sends, with the
// checksum characters and the closing carriage return. The meter simulator sends them; the tests
// and the benchmarks feed them to the program.
//
// Out-of-range inputs are clamped to what the meter can send, so every result is a well-formed
// frame: deviceNumber to 0..65535, raw to -9999..99999, rangeCode to 0..7 (4..7 are legal on the
// wire; the program gives them no unit).

#include <cstdint>
#include <vector>

struct Frame17Spec
{
    int deviceNumber = 0;
    bool wholeUnits = false; // clear: the value is read as raw x 0.1
    bool calibrationError = false;
    bool unitKlx = false; // clear: W/m2
    bool measurementError = false;
    int raw = 0;
};

struct ChannelSpec
{
    int rangeCode = 1; // 0 W/m2, 1 kLx, 2 umol, 3 W/m2 at 0.01
    bool wholeUnits = false;
    int raw = 0;
};

struct Frame24Spec
{
    int deviceNumber = 0;
    bool secondChannel = true;
    bool calibrationError = false;
    bool measurementError1 = false;
    bool measurementError2 = false;
    ChannelSpec channel1, channel2;
};

std::vector<std::uint8_t> EncodeFrame(const Frame17Spec& spec); // 17 bytes
std::vector<std::uint8_t> EncodeFrame(const Frame24Spec& spec); // 24 bytes
