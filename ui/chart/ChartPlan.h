#pragma once

// What the chart shows for a span: which channels, in which unit, against which value scale, and
// their pixel columns. The painter adds only pixels and text. Platform-free.

#include "ui/chart/ChartAxes.h"
#include "ui/chart/ChartHistory.h"
#include "ui/chart/ColumnReduction.h"

#include <vector>

struct ChartAxis
{
    ShownUnit unit = ShownUnit::None;
    ValueScale scale;
};

struct ChartSeries
{
    int channel = 0;
    ShownUnit unit = ShownUnit::None;
    int axis = 0; // index into ChartPlan::axes: 0 on the left, 1 on the right
    std::vector<ColumnExtent> columns;
};

struct ChartPlan
{
    std::int64_t first = 0, last = -1; // the seconds in view
    std::vector<ChartAxis> axes;
    std::vector<ChartSeries> series; // channels with a good second in view, channel 1 first
};

// Each channel with data in view is shown in the unit of its newest good second there, reduced to
// `columns` columns. The channels share the left scale when their units agree; otherwise channel 2
// gets one on the right. Every scale holds all the values of its channels.
ChartPlan PlanChart(const ChartHistory& history, int spanSeconds, int maxValueTicks, int columns);

// Narrows every series to fewer columns: the plot once the scales' labels have taken their room.
// (One pass over the seconds serves both the scales and the drawing.)
void NarrowSeries(ChartPlan& plan, int columns);

// The y of a value on a scale, for a plot whose value rows run from top to bottom.
int ValueToY(const ValueScale& scale, double value, int top, int bottom);
