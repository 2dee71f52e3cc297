#pragma once

// One value per second per channel for the last 24 hours, in memory of a fixed size: the latest
// good value of each second, as the panel showed it, with its unit; a second without one is a gap.
// Also the totals of each channel since the last reset, which reach back further than 24 hours.
// Platform-free.

#include "ui/chart/ShownUnit.h"
#include "ui/chart/SpanTotals.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// What a panel shows at an instant: a good value (no error, link up) in its unit, or nothing.
struct ChannelSample
{
    bool good = false;
    double value = 0.0;
    ShownUnit unit = ShownUnit::None;
};

struct StoredSecond
{
    bool good = false;
    double value = 0.0;
    ShownUnit unit = ShownUnit::None;
};

class ChartHistory
{
public:
    static constexpr int SECONDS = 24 * 60 * 60;
    static constexpr int CHANNELS = 2;

    ChartHistory();

    // The state of both channels at an instant. Call at least once a second (more often is
    // harmless): within a second the latest good sample wins, and a second that got none stays a
    // gap. A clock set back drops the seconds that now lie ahead of it.
    void Sample(std::int64_t epochSecond, const ChannelSample& channel1,
                const ChannelSample& channel2);

    bool Empty() const { return empty_; }
    // The newest second sampled; the history covers [Newest() - SECONDS + 1, Newest()].
    std::int64_t Newest() const { return newest_; }
    // Any second; those outside the last 24 hours are gaps. channel is 0 or 1.
    StoredSecond At(int channel, std::int64_t second) const;

    // Visits the seconds first..last in order as f(second, good, value, unit), fast.
    template <typename F>
    void Visit(int channel, std::int64_t first, std::int64_t last, F&& f) const;

    // Totals since the last reset (or the first sample); the newest second counts as it is so far.
    SpanTotals SinceReset(int channel) const;
    // Starts the totals afresh from the next second: what the newest second held so far is left
    // out.
    void ResetTotals();

    // Grows with every sample, so that a viewer can tell whether anything changed.
    std::uint64_t Version() const { return version_; }
    std::size_t MemoryBytes() const;

private:
    std::size_t Slot(int channel, std::int64_t second) const;
    void Advance(std::int64_t epochSecond);
    void Clear();
    // The newest second joins these totals.
    void AddToTotals(SpanTotals& totals, int channel) const;

    std::vector<float> values_;
    std::vector<ShownUnit> units_; // None: the second had no good value
    std::int64_t newest_ = 0;
    bool empty_ = true;
    std::uint64_t version_ = 0;
    SpanTotals totals_[CHANNELS]; // since reset, up to the second before the newest
    std::int64_t firstTotalled_ = INT64_MIN;
};

template <typename F>
void ChartHistory::Visit(int channel, std::int64_t first, std::int64_t last, F&& f) const
{
    const std::int64_t oldest = newest_ - SECONDS + 1;
    std::int64_t second = first;
    // Outside the stored day everything is a gap.
    for (; second <= last && (empty_ || second < oldest); ++second)
        f(second, false, 0.0, ShownUnit::None);
    const std::int64_t stored = empty_ ? second - 1 : (last < newest_ ? last : newest_);
    std::size_t slot = second <= stored ? Slot(channel, second) : 0;
    const std::size_t end = static_cast<std::size_t>(channel + 1) * SECONDS;
    for (; second <= stored; ++second)
    {
        const ShownUnit unit = units_[slot];
        f(second, unit != ShownUnit::None, static_cast<double>(values_[slot]), unit);
        if (++slot == end)
            slot -= SECONDS;
    }
    for (; second <= last; ++second)
        f(second, false, 0.0, ShownUnit::None);
}
