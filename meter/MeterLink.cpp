#include "meter/MeterLink.h"

#include "units/UnitModel.h"

namespace
{
// Range codes 0..3 name units 1..4; the others leave a channel's unit as it was.
constexpr int HIGHEST_RANGE_CODE = 3;

PanelChange Shown(double value, bool blinking)
{
    PanelChange change;
    change.touched = true;
    change.blinking = blinking;
    change.value = value;
    return change;
}
} // namespace

MeterLink::MeterLink(int unitCode) : unitCodes_{unitCode, unitCode} {}

LinkUpdate MeterLink::Feed(std::uint8_t byte, LinkMillis now)
{
    const FrameOutcome outcome = assembler_.Feed(byte, decoder_);
    if (outcome == FrameOutcome::NothingYet)
        return {};
    LinkUpdate update =
        outcome == FrameOutcome::GoodFrame ? GoodFrame(assembler_.LastLength(), now) : LostLink();
    update.outcome = outcome;
    update.statusChanged = true;
    update.layoutChanged = LayoutChanged();
    return update;
}

LinkUpdate MeterLink::GoodFrame(int length, LinkMillis now)
{
    const MeterReading& r = decoder_.reading;
    twoChannelMode_ = length == FrameAssembler::TWO_CHANNEL_FRAME;
    state_ = LinkState::Receiving;
    lastGoodMs_ = now;
    portDead_ = false; // bytes flow, whatever the handle said before

    LinkUpdate update;
    update.restartWatchdog = true;
    if (!twoChannelMode_)
    {
        values_[0] = r.value1;
        unitCodes_[0] = r.unitKlx ? UNIT_KLX : UNIT_WM2;
        update.panels[0] = Shown(values_[0], r.calibrationError != 0 || r.measurementError != 0);
        return update;
    }
    values_ = {r.value1, r.value2};
    for (int channel = 0; channel < 2; ++channel)
    {
        const int range = channel == 0 ? r.range1 : r.range2;
        if (range <= HIGHEST_RANGE_CODE)
            unitCodes_[channel] = range + 1;
    }
    update.panels[0] = Shown(values_[0], r.calibrationError != 0 || r.measurementError1 != 0);
    // Without its second channel the meter's channel 2 is not shown, though its unit follows.
    if (r.secondChannel != 0)
        update.panels[1] = Shown(values_[1], r.calibrationError != 0 || r.measurementError2 != 0);
    return update;
}

LinkUpdate MeterLink::LostLink()
{
    // The watchdog runs on as it was: a damaged frame neither starts nor restarts it.
    state_ = LinkState::Lost;
    LinkUpdate update;
    for (PanelChange& panel : update.panels)
    {
        panel.touched = true;
        panel.clear = true;
        panel.blinking = true;
    }
    return update;
}

LinkUpdate MeterLink::WatchdogExpired()
{
    assembler_.Reset();
    LinkUpdate update = LostLink();
    update.statusChanged = true;
    return update;
}

bool MeterLink::LayoutChanged()
{
    const bool secondChannel = decoder_.reading.secondChannel != 0;
    if (twoChannelMode_ == laidOutTwoChannels_ && secondChannel == laidOutSecondChannel_)
        return false;
    laidOutTwoChannels_ = twoChannelMode_;
    laidOutSecondChannel_ = secondChannel;
    return true;
}

void MeterLink::PortOpened(bool opened, LinkMillis now)
{
    lastAttemptMs_ = now;
    if (!opened)
        return;
    portDead_ = false;
    // A port just opened gets the full silence before it is tried again.
    lastGoodMs_ = now;
}

bool MeterLink::Reconnecting(LinkMillis now) const
{
    return portDead_ || now - lastGoodMs_ >= RECONNECT_SILENCE_MS;
}

bool MeterLink::ReopenDue(LinkMillis now) const
{
    return Reconnecting(now) && now - lastAttemptMs_ >= RECONNECT_PERIOD_MS;
}

LogSource MeterLink::RecordSource() const
{
    return {decoder_.reading, IsLost(),      twoChannelMode_, values_[0],
            values_[1],       unitCodes_[0], unitCodes_[1]};
}
