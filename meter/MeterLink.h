#pragma once

// What the meter's byte stream and the passing of time mean for whoever shows the readings: the
// frames, the link state, each channel's value, unit and blinking, whether the second channel is
// shown, the watchdog and the reconnect decisions, and the source of each log record. No timers,
// windows or ports inside: the front end feeds bytes and the time, and does what the link says.

#include "meter/FrameAssembler.h"
#include "meter/FrameDecoder.h"

#include <array>
#include <cstdint>

enum class LinkState
{
    NoReadingYet, // no good frame since start
    Receiving,    // the last frame was good and the watchdog has not expired since
    Lost,         // a damaged frame, or the watchdog expired
};

// The link's state at the moment of a log record.
struct LogSource
{
    MeterReading reading;
    bool linkLost = true;
    bool twoChannelMode = false;
    double reading1 = 0.0; // raw values last shown
    double reading2 = 0.0;
    int unit1 = 0; // unit codes of channel 1 and channel 2
    int unit2 = 0;
};

// Milliseconds of a monotonic clock (GetTickCount64, steady_clock).
using LinkMillis = std::uint64_t;

// What one panel must do after an event; a panel not touched keeps what it shows.
struct PanelChange
{
    bool touched = false;
    bool clear = false; // show "???" (ClearReading), else show value (SetReading)
    bool blinking = false;
    double value = 0.0; // raw, as the meter sent it
};

struct LinkUpdate
{
    FrameOutcome outcome = FrameOutcome::NothingYet; // NothingYet: nothing to show
    // After a good frame the channels' unit codes (UnitCode) may have changed too, shown or not.
    std::array<PanelChange, 2> panels;
    bool restartWatchdog = false; // a good frame: the watchdog starts its period again
    bool layoutChanged = false;   // panel 2 is to be shown or hidden, and the window laid out
    bool statusChanged = false;   // the status line is to be rebuilt
};

class MeterLink
{
public:
    static constexpr unsigned WATCHDOG_PERIOD_MS = 5000;
    // While the port's handle is dead, or no good frame has come for this long, the port is
    // closed and opened again every RECONNECT_PERIOD_MS.
    static constexpr LinkMillis RECONNECT_SILENCE_MS = 10000;
    static constexpr LinkMillis RECONNECT_PERIOD_MS = 3000;

    // The unit code both channels start with (the stored one).
    explicit MeterLink(int unitCode);

    // One received byte.
    LinkUpdate Feed(std::uint8_t byte, LinkMillis now);
    // The watchdog's period has passed without a good frame. The partly received frame is
    // discarded; this repeats every period until a good frame comes.
    LinkUpdate WatchdogExpired();

    // The port was opened (or opening it was tried) at `now`; `opened` tells which.
    void PortOpened(bool opened, LinkMillis now);
    // The port's handle reported that its device is gone.
    void PortDied() { portDead_ = true; }
    // Whether the port should be closed and opened again now.
    bool ReopenDue(LinkMillis now) const;
    // Whether the link is in a spell of reopening (dead handle, or silent too long).
    bool Reconnecting(LinkMillis now) const;

    LinkState State() const { return state_; }
    bool IsLost() const { return state_ != LinkState::Receiving; }
    bool TwoChannelMode() const { return twoChannelMode_; }
    // Panel 2 is shown for a two-channel meter that has its second channel.
    bool SecondPanelShown() const { return twoChannelMode_ && decoder_.reading.secondChannel != 0; }
    const MeterReading& Reading() const { return decoder_.reading; }
    int UnitCode(int channel) const { return unitCodes_[channel]; }
    // Raw values of the last good frame that carried each channel.
    double Value(int channel) const { return values_[channel]; }
    // Bytes of a frame begun and not yet finished.
    int PendingBytes() const { return assembler_.Count(); }

    // What a log record says at this moment.
    LogSource RecordSource() const;

private:
    LinkUpdate GoodFrame(int length, LinkMillis now);
    LinkUpdate LostLink();
    bool LayoutChanged();

    FrameAssembler assembler_;
    FrameDecoder decoder_;
    LinkState state_ = LinkState::NoReadingYet;
    bool twoChannelMode_ = false;
    std::array<double, 2> values_{};
    std::array<int, 2> unitCodes_;
    // The channel configuration at the last layout.
    bool laidOutTwoChannels_ = false;
    bool laidOutSecondChannel_ = false;

    bool portDead_ = false;
    LinkMillis lastGoodMs_ = 0;    // the last good frame, or the last successful opening
    LinkMillis lastAttemptMs_ = 0; // the last opening tried
};
