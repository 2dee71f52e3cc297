#pragma once

// Turns the meter's byte stream into frames. Bytes are fed one at a time; a carriage return at a
// count of exactly 17 or 24 closes a candidate, which the decoder then accepts or rejects. The
// assembler does not hunt for frame starts: it realigns on the first carriage return that comes
// at a count of 17 or more, and a run of 49 bytes without an accepted one is dropped together
// with the byte that follows it.

#include "meter/FrameDecoder.h"

#include <cstdint>

enum class FrameOutcome
{
    NothingYet, // still assembling, or a candidate of the wrong length dropped without a trace
    GoodFrame,  // the decoder accepted the candidate (its length is LastLength())
    BadFrame,   // a candidate of 17 or 24 bytes that the decoder rejected
};

class FrameAssembler
{
public:
    static constexpr int BUFFER_SIZE = 50;
    static constexpr int ONE_CHANNEL_FRAME = 17;
    static constexpr int TWO_CHANNEL_FRAME = 24;

    FrameOutcome Feed(std::uint8_t byte, FrameDecoder& decoder);
    // Discards a partly received frame (the watchdog does this when the meter falls silent).
    void Reset() { count_ = 0; }
    int Count() const { return count_; }
    // The length of the last candidate handed to the decoder.
    int LastLength() const { return lastLength_; }

private:
    std::uint8_t buffer_[BUFFER_SIZE] = {};
    int count_ = 0;
    int lastLength_ = 0;
};
