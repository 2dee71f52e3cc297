#include "chart/ChartPlan.h"

#include "chart/ChartStatistics.h"

#include <cmath>

ChartPlan PlanChart(const ChartHistory& history, int spanSeconds, int maxValueTicks)
{
    ChartPlan plan;
    const ViewRange view = ViewOf(history, spanSeconds);
    plan.first = view.first;
    plan.last = view.last;
    struct Range
    {
        ShownUnit unit;
        ValueStats stats;
    };
    std::vector<Range> ranges; // per axis
    for (int channel = 0; channel < ChartHistory::CHANNELS; ++channel)
    {
        const ShownUnit unit = LatestUnit(history, channel, view.first, view.last);
        if (unit == ShownUnit::None)
            continue;
        const ValueStats stats = ValuesIn(history, channel, view.first, view.last, unit);
        ChartSeries series;
        series.channel = channel;
        series.unit = unit;
        if (!ranges.empty() && ranges.front().unit == unit)
        {
            Range& shared = ranges.front();
            shared.stats.Add(stats.Min());
            shared.stats.Add(stats.Max());
            series.axis = 0;
        }
        else
        {
            ranges.push_back({unit, {}});
            ranges.back().stats.Add(stats.Min());
            ranges.back().stats.Add(stats.Max());
            series.axis = static_cast<int>(ranges.size()) - 1;
        }
        plan.series.push_back(std::move(series));
    }
    for (const Range& range : ranges)
        plan.axes.push_back(
            {range.unit, NiceScale(range.stats.Min(), range.stats.Max(), maxValueTicks)});
    return plan;
}

void ReduceSeries(ChartPlan& plan, const ChartHistory& history, int columns)
{
    const int seconds = static_cast<int>(plan.last - plan.first + 1);
    for (ChartSeries& series : plan.series)
        series.columns =
            ReduceToColumns(history, series.channel, series.unit, plan.first, seconds, columns);
}

int ValueToY(const ValueScale& scale, double value, int top, int bottom)
{
    const double fraction = (value - scale.low) / (scale.high - scale.low);
    return bottom - static_cast<int>(std::lround(fraction * (bottom - top)));
}
