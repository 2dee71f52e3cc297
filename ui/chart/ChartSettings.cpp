#include "ui/chart/ChartSettings.h"

int ChartSpanIndex(int seconds)
{
    int defaultIndex = 0;
    for (int i = 0; i < static_cast<int>(sizeof CHART_SPANS / sizeof CHART_SPANS[0]); ++i)
    {
        if (CHART_SPANS[i].seconds == seconds)
            return i;
        if (CHART_SPANS[i].seconds == DEFAULT_CHART_SPAN)
            defaultIndex = i;
    }
    return defaultIndex;
}

int StoredToChartSpan(std::uint32_t stored)
{
    return CHART_SPANS[ChartSpanIndex(static_cast<int>(stored))].seconds;
}
