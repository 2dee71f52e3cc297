#include "ui/chart/ChartPlan.h"

#include "ui/chart/ChartStatistics.h"

#include <cmath>

ChartPlan PlanChart(const ChartHistory& history, int spanSeconds, int maxValueTicks, int columns)
{
    ChartPlan plan;
    const ViewRange view = ViewOf(history, spanSeconds);
    plan.first = view.first;
    plan.last = view.last;
    const int seconds = static_cast<int>(view.last - view.first + 1);
    std::vector<ValueStats> ranges; // per axis: the extremes of its channels
    for (int channel = 0; channel < ChartHistory::CHANNELS; ++channel)
    {
        const ShownUnit unit = LatestUnit(history, channel, view.first, view.last);
        if (unit == ShownUnit::None)
            continue;
        ChartSeries series;
        series.channel = channel;
        series.unit = unit;
        series.columns = ReduceToColumns(history, channel, unit, view.first, seconds, columns);
        const bool shared = !plan.axes.empty() && plan.axes.front().unit == unit;
        if (!shared)
        {
            plan.axes.push_back({unit, {}});
            ranges.emplace_back();
        }
        series.axis = shared ? 0 : static_cast<int>(plan.axes.size()) - 1;
        for (const ColumnExtent& column : series.columns)
            if (column.any)
            {
                ranges[static_cast<size_t>(series.axis)].Add(column.low);
                ranges[static_cast<size_t>(series.axis)].Add(column.high);
            }
        plan.series.push_back(std::move(series));
    }
    for (size_t a = 0; a < plan.axes.size(); ++a)
        plan.axes[a].scale = NiceScale(ranges[a].Min(), ranges[a].Max(), maxValueTicks);
    return plan;
}

void NarrowSeries(ChartPlan& plan, int columns)
{
    for (ChartSeries& series : plan.series)
        if (static_cast<int>(series.columns.size()) != columns)
            series.columns = NarrowColumns(series.columns, columns);
}

int ValueToY(const ValueScale& scale, double value, int top, int bottom)
{
    const double fraction = (value - scale.low) / (scale.high - scale.low);
    return bottom - static_cast<int>(std::lround(fraction * (bottom - top)));
}
