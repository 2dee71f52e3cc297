#include "ui/chart/ChartHistory.h"

#include <algorithm>

ChartHistory::ChartHistory()
    : values_(static_cast<std::size_t>(SECONDS) * CHANNELS, 0.0f),
      units_(static_cast<std::size_t>(SECONDS) * CHANNELS, ShownUnit::None)
{
}

std::size_t ChartHistory::Slot(int channel, std::int64_t second) const
{
    std::int64_t inDay = second % SECONDS;
    if (inDay < 0)
        inDay += SECONDS;
    return static_cast<std::size_t>(channel) * SECONDS + static_cast<std::size_t>(inDay);
}

void ChartHistory::Clear()
{
    std::fill(units_.begin(), units_.end(), ShownUnit::None);
}

void ChartHistory::Advance(std::int64_t epochSecond)
{
    if (empty_)
    {
        empty_ = false;
        newest_ = epochSecond;
        return;
    }
    if (epochSecond < newest_)
    {
        // The clock went back: the seconds stored "after" now would never be overwritten in
        // order. The totals keep what they have; their trapezoids cannot bridge backwards.
        Clear();
        newest_ = epochSecond;
        return;
    }
    // The newest second is complete: it joins the totals, and so do the skipped ones, as gaps.
    for (int channel = 0; channel < CHANNELS; ++channel)
    {
        if (newest_ >= firstTotalled_)
            AddToTotals(totals_[channel], channel);
        totals_[channel].AddMissing(epochSecond - newest_ - 1);
    }
    const std::int64_t skipped = std::min<std::int64_t>(epochSecond - newest_, SECONDS);
    for (std::int64_t second = epochSecond - skipped + 1; second <= epochSecond; ++second)
        for (int channel = 0; channel < CHANNELS; ++channel)
            units_[Slot(channel, second)] = ShownUnit::None;
    newest_ = epochSecond;
}

void ChartHistory::Sample(std::int64_t epochSecond, const ChannelSample& channel1,
                          const ChannelSample& channel2)
{
    if (empty_ || epochSecond != newest_)
        Advance(epochSecond);
    const ChannelSample* samples[CHANNELS] = {&channel1, &channel2};
    for (int channel = 0; channel < CHANNELS; ++channel)
    {
        const ChannelSample& sample = *samples[channel];
        if (!sample.good || sample.unit == ShownUnit::None)
            continue; // a bad sample never replaces a good one of the same second
        const std::size_t slot = Slot(channel, epochSecond);
        values_[slot] = static_cast<float>(sample.value);
        units_[slot] = sample.unit;
    }
    ++version_;
}

StoredSecond ChartHistory::At(int channel, std::int64_t second) const
{
    if (empty_ || second > newest_ || second <= newest_ - SECONDS)
        return {};
    const std::size_t slot = Slot(channel, second);
    if (units_[slot] == ShownUnit::None)
        return {};
    return {true, static_cast<double>(values_[slot]), units_[slot]};
}

void ChartHistory::AddToTotals(SpanTotals& totals, int channel) const
{
    const StoredSecond second = At(channel, newest_);
    if (second.good)
        totals.AddGood(newest_, second.value, second.unit);
    else
        totals.AddMissing();
}

SpanTotals ChartHistory::SinceReset(int channel) const
{
    SpanTotals totals = totals_[channel];
    if (!empty_ && newest_ >= firstTotalled_)
        AddToTotals(totals, channel);
    return totals;
}

void ChartHistory::ResetTotals()
{
    for (SpanTotals& totals : totals_)
        totals = SpanTotals();
    if (!empty_)
        firstTotalled_ = newest_ + 1;
    ++version_;
}

std::size_t ChartHistory::MemoryBytes() const
{
    return sizeof *this + values_.capacity() * sizeof(float) +
           units_.capacity() * sizeof(ShownUnit);
}
