#include "ui/chart/SpanTotals.h"

void ValueStats::Add(double value)
{
    if (count_ == 0 || value < min_)
        min_ = value;
    if (count_ == 0 || value > max_)
        max_ = value;
    sum_ += value;
    ++count_;
}

void DoseIntegral::AddGood(std::int64_t second, double value)
{
    if (hasLast_ && second == lastSecond_ + 1)
        unitSeconds_ += (lastValue_ + value) / 2.0;
    hasLast_ = true;
    lastSecond_ = second;
    lastValue_ = value;
}

void SpanTotals::AddGood(std::int64_t second, double value, ShownUnit unit)
{
    if (unit != unit_ && unit_ != ShownUnit::None)
        *this = SpanTotals();
    unit_ = unit;
    values_.Add(value);
    dose_.AddGood(second, value);
}
