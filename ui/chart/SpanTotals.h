#pragma once

// What a run of seconds adds up to: minimum, maximum and mean of its good values, and the light
// dose with the time that had no data. Fed one second at a time, in order. Platform-free.

#include "ui/chart/ShownUnit.h"

#include <cstdint>

class ValueStats
{
public:
    void Add(double value);
    bool Empty() const { return count_ == 0; }
    std::int64_t Count() const { return count_; }
    double Min() const { return min_; }
    double Max() const { return max_; }
    double Average() const { return count_ ? sum_ / static_cast<double>(count_) : 0.0; }

private:
    std::int64_t count_ = 0;
    double min_ = 0.0;
    double max_ = 0.0;
    double sum_ = 0.0;
};

// The integral of the value over time by trapezoids between neighbouring good seconds: a second
// without a good value is a gap that is never bridged, so the seconds on either side of it add
// nothing across it.
class DoseIntegral
{
public:
    void AddGood(std::int64_t second, double value);
    void AddMissing(std::int64_t seconds) { missing_ += seconds; }
    // In unit-seconds (a value of 1 held for one second gives 1).
    double UnitSeconds() const { return unitSeconds_; }
    std::int64_t MissingSeconds() const { return missing_; }

private:
    double unitSeconds_ = 0.0;
    std::int64_t missing_ = 0;
    bool hasLast_ = false;
    std::int64_t lastSecond_ = 0;
    double lastValue_ = 0.0;
};

// Statistics and dose of a run of seconds in one unit. A good second in another unit than the
// run's starts the run afresh from that second: values of different units are never mixed.
class SpanTotals
{
public:
    void AddGood(std::int64_t second, double value, ShownUnit unit);
    void AddMissing(std::int64_t seconds = 1) { dose_.AddMissing(seconds); }

    ShownUnit Unit() const { return unit_; }
    const ValueStats& Values() const { return values_; }
    const DoseIntegral& Dose() const { return dose_; }
    // The dose in the unit of DoseOf(Unit()).
    double DoseAmount() const { return dose_.UnitSeconds() * DoseOf(unit_).perUnitSecond; }

private:
    ShownUnit unit_ = ShownUnit::None;
    ValueStats values_;
    DoseIntegral dose_;
};
