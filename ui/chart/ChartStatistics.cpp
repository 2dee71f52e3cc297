#include "ui/chart/ChartStatistics.h"

#include "res/Texts.h"
#include "units/UnitModel.h"

#include <algorithm>

namespace
{
std::string NumberWithUnit(double value, int decimals, const char* label)
{
    const std::string format = "%." + std::to_string(decimals) + "f " + label;
    return FormatNumber(format.c_str(), value);
}

std::string DoseText(const SpanTotals& totals)
{
    if (totals.Unit() == ShownUnit::None)
        return texts::NO_VALUE;
    const DoseKind dose = DoseOf(totals.Unit());
    return NumberWithUnit(totals.DoseAmount(), dose.decimals, dose.label);
}
} // namespace

ViewRange ViewOf(const ChartHistory& history, int spanSeconds)
{
    if (history.Empty() || spanSeconds <= 0)
        return {};
    return {history.Newest() - spanSeconds + 1, history.Newest()};
}

ShownUnit LatestUnit(const ChartHistory& history, int channel, std::int64_t first,
                     std::int64_t last)
{
    // From the newest second backwards: the answer is usually a second or two away.
    if (!history.Empty())
        last = std::min(last, history.Newest());
    for (std::int64_t second = last; second >= first; --second)
    {
        const StoredSecond stored = history.At(channel, second);
        if (stored.good)
            return stored.unit;
        if (second <= history.Newest() - ChartHistory::SECONDS)
            break; // nothing older is kept
    }
    return ShownUnit::None;
}

ValueStats ValuesIn(const ChartHistory& history, int channel, std::int64_t first, std::int64_t last,
                    ShownUnit unit)
{
    ValueStats stats;
    history.Visit(channel, first, last,
                  [&](std::int64_t, bool good, double value, ShownUnit u)
                  {
                      if (good && u == unit)
                          stats.Add(value);
                  });
    return stats;
}

SpanTotals TotalsOver(const ChartHistory& history, int channel, std::int64_t first,
                      std::int64_t last)
{
    SpanTotals totals;
    history.Visit(channel, first, last,
                  [&](std::int64_t second, bool good, double value, ShownUnit unit)
                  {
                      if (good)
                          totals.AddGood(second, value, unit);
                      else
                          totals.AddMissing();
                  });
    return totals;
}

SpanTotals TotalsToday(const ChartHistory& history, int channel, UtcOffsetFn offset)
{
    if (history.Empty())
        return {};
    const std::int64_t now = history.Newest();
    return TotalsOver(history, channel, LocalMidnightOf(now, offset), now);
}

std::string ValueText(const ValueStats& stats, double value, ShownUnit unit)
{
    if (stats.Empty() || unit == ShownUnit::None)
        return texts::NO_VALUE;
    const UnitText text = TextOf(unit);
    return NumberWithUnit(value, text.decimals, text.label);
}

std::string GapText(std::int64_t missingSeconds)
{
    return texts::NO_DATA_FOR + DurationText(missingSeconds);
}

ChannelReport ReportChannel(const ChartHistory& history, int channel, int spanSeconds,
                            UtcOffsetFn offset)
{
    ChannelReport report;
    const ViewRange view = ViewOf(history, spanSeconds);
    const ShownUnit viewUnit = LatestUnit(history, channel, view.first, view.last);
    const ValueStats inView = ValuesIn(history, channel, view.first, view.last, viewUnit);
    report.viewMin = ValueText(inView, inView.Min(), viewUnit);
    report.viewMax = ValueText(inView, inView.Max(), viewUnit);
    report.viewAverage = ValueText(inView, inView.Average(), viewUnit);

    const SpanTotals sinceReset = history.SinceReset(channel);
    const ValueStats& reset = sinceReset.Values();
    report.resetMin = ValueText(reset, reset.Min(), sinceReset.Unit());
    report.resetMax = ValueText(reset, reset.Max(), sinceReset.Unit());
    report.resetAverage = ValueText(reset, reset.Average(), sinceReset.Unit());

    const SpanTotals today = TotalsToday(history, channel, offset);
    // Both doses run in the unit shown now; before any good second there is no dose to name.
    const ShownUnit doseUnit = today.Unit() != ShownUnit::None ? today.Unit() : sinceReset.Unit();
    report.doseName = DoseOf(doseUnit).name;
    report.doseToday = DoseText(today);
    report.doseSinceReset = DoseText(sinceReset);
    report.gapToday = GapText(today.Dose().MissingSeconds());
    report.gapSinceReset = GapText(sinceReset.Dose().MissingSeconds());
    return report;
}
