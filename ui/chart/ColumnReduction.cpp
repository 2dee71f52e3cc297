#include "ui/chart/ColumnReduction.h"

std::vector<ColumnExtent> ReduceToColumns(const ChartHistory& history, int channel, ShownUnit unit,
                                          std::int64_t first, int seconds, int columns)
{
    std::vector<ColumnExtent> result(columns > 0 ? static_cast<std::size_t>(columns) : 0);
    if (seconds <= 0 || columns <= 0)
        return result;
    const std::int64_t twiceSeconds = 2 * static_cast<std::int64_t>(seconds);
    history.Visit(channel, first, first + seconds - 1,
                  [&](std::int64_t second, bool good, double value, ShownUnit u)
                  {
                      if (!good || u != unit)
                          return;
                      const std::int64_t middle = 2 * (second - first) + 1;
                      ColumnExtent& column =
                          result[static_cast<std::size_t>(middle * columns / twiceSeconds)];
                      const float v = static_cast<float>(value);
                      if (!column.any)
                      {
                          column.any = true;
                          column.low = column.high = column.first = v;
                          column.firstSecond = second;
                      }
                      else if (v < column.low)
                          column.low = v;
                      else if (v > column.high)
                          column.high = v;
                      column.last = v;
                      column.lastSecond = second;
                  });
    return result;
}

std::vector<ColumnExtent> NarrowColumns(const std::vector<ColumnExtent>& wide, int columns)
{
    std::vector<ColumnExtent> result(columns > 0 ? static_cast<std::size_t>(columns) : 0);
    const std::int64_t twiceWide = 2 * static_cast<std::int64_t>(wide.size());
    for (std::size_t i = 0; i < wide.size() && columns > 0; ++i)
    {
        const ColumnExtent& from = wide[i];
        if (!from.any)
            continue;
        ColumnExtent& to = result[static_cast<std::size_t>((2 * static_cast<std::int64_t>(i) + 1) *
                                                           columns / twiceWide)];
        if (!to.any)
        {
            to = from;
            continue;
        }
        to.low = from.low < to.low ? from.low : to.low;
        to.high = from.high > to.high ? from.high : to.high;
        to.last = from.last;
        to.lastSecond = from.lastSecond;
    }
    return result;
}
