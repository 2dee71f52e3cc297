#pragma once

// Up to 86,400 seconds are drawn into a few hundred pixel columns: each column keeps only what a
// line through its seconds would touch. Platform-free.

#include "ui/chart/ChartHistory.h"

#include <cstdint>
#include <vector>

struct ColumnExtent
{
    bool any = false; // the column holds at least one good second
    float low = 0.0f, high = 0.0f;
    float first = 0.0f, last = 0.0f; // values of its earliest and latest good second
    std::int64_t firstSecond = 0, lastSecond = 0;
};

// The good seconds of one channel in one unit within first .. first + seconds - 1, spread evenly
// over `columns` columns (a second belongs to the column under its middle).
std::vector<ColumnExtent> ReduceToColumns(const ChartHistory& history, int channel, ShownUnit unit,
                                          std::int64_t first, int seconds, int columns);

// The same columns merged into fewer (the pixel column of each is the one under its middle):
// extremes and joins stay exact, a value moves by a pixel at most.
std::vector<ColumnExtent> NarrowColumns(const std::vector<ColumnExtent>& wide, int columns);

// A line joins two columns drawn one after the other only when no second lies between their
// values: a gap is never bridged.
inline bool Joined(const ColumnExtent& left, const ColumnExtent& right)
{
    return left.any && right.any && right.firstSecond == left.lastSecond + 1;
}
