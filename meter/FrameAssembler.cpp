#include "meter/FrameAssembler.h"

namespace
{
constexpr std::uint8_t CARRIAGE_RETURN = 0x0D;
}

FrameOutcome FrameAssembler::Feed(std::uint8_t byte, FrameDecoder& decoder)
{
    const int n = ++count_;
    if (n >= BUFFER_SIZE)
    {
        count_ = 0;
        return FrameOutcome::NothingYet;
    }
    buffer_[n - 1] = byte;
    // A carriage return among the first 16 bytes is ordinary data.
    if (n < ONE_CHANNEL_FRAME || byte != CARRIAGE_RETURN)
        return FrameOutcome::NothingYet;
    count_ = 0;
    if (n != ONE_CHANNEL_FRAME && n != TWO_CHANNEL_FRAME)
        return FrameOutcome::NothingYet;
    lastLength_ = n;
    return decoder.DecodeFrame(buffer_, n) ? FrameOutcome::GoodFrame : FrameOutcome::BadFrame;
}
