#pragma once

// The run of a simulated meter as a list of transmissions: which frame is sent, with which
// faults, which bytes, and when (milliseconds from the start of the run). No input or output.

#include "tools/qm7xx-sim/SimOptions.h"
#include "tools/qm7xx-sim/ValueDrift.h"

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

// One frame and whatever follows it on the line.
struct Transmission
{
    int frameNumber = 0; // from 1
    long long startMs = 0;
    std::vector<std::uint8_t> bytes; // the frame, then any stray burst
    std::size_t frameSize = 0;       // 17 or 24

    // What the frame says, for --verbose and the tests.
    bool twoChannelFrame = false;
    bool secondChannel = false;
    bool unitKlx = false;
    int range1 = 0;
    int range2 = 0;
    EncodedValue value1;
    EncodedValue value2;
    bool measurementError1 = false;
    bool measurementError2 = false;
    bool calibrationError = false;
    bool badChecksum = false;
    std::size_t strayBytes = 0; // noise bytes after the frame
};

class FrameSchedule
{
public:
    // 7 data bits, 1 start and 1 stop bit at 300 baud.
    static constexpr int LINE_BYTE_MS = 30;

    explicit FrameSchedule(const SimOptions& options);

    // The next transmission; false when the frame count or the run time is reached.
    bool Next(Transmission& out);

    // When byte `index` of a transmission goes out: every LINE_BYTE_MS ms, or all at once with
    // --fast.
    long long ByteTimeMs(const Transmission& t, std::size_t index) const;

private:
    std::vector<std::uint8_t> EncodeFrame(Transmission& t);
    void AddStrayBurst(Transmission& t);

    SimOptions options_;
    ValueDrift drift1_;
    ValueDrift drift2_;
    std::mt19937 noise_;
    int frameNumber_ = 0;
    long long lineFreeMs_ = 0; // when the previous transmission's last byte is out
};

// One line describing a transmission, for --verbose.
std::string Describe(const Transmission& t, const SimOptions& options);
