#include "chart/ColumnReduction.h"

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
