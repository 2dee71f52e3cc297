#pragma once

// The chart window's statistics as a table of cells, shared by its layout and its refresh.

#include "res/Texts.h"
#include "ui/chart/ChartWnd.h"

#include <cstddef>

// The statistics of a channel as a table: a fixed label (text) or a value (text null) per cell.
struct Cell
{
    int row, column;
    const char* text;
    ChartText value;
};
inline constexpr int TABLE_ROWS = 7;
inline constexpr int LABEL_ID_OFFSET = 20;
inline constexpr Cell CELLS[] = {
    {0, 1, texts::STATS_IN_VIEW, {}},
    {0, 2, texts::STATS_SINCE_RESET, {}},
    {1, 0, texts::STATS_MIN, {}},
    {1, 1, nullptr, ChartText::ViewMin},
    {1, 2, nullptr, ChartText::ResetMin},
    {2, 0, texts::STATS_MAX, {}},
    {2, 1, nullptr, ChartText::ViewMax},
    {2, 2, nullptr, ChartText::ResetMax},
    {3, 0, texts::STATS_AVERAGE, {}},
    {3, 1, nullptr, ChartText::ViewAverage},
    {3, 2, nullptr, ChartText::ResetAverage},
    {4, 1, texts::STATS_SINCE_MIDNIGHT, {}},
    {4, 2, texts::STATS_SINCE_RESET, {}},
    {5, 0, nullptr, ChartText::DoseName},
    {5, 1, nullptr, ChartText::DoseToday},
    {5, 2, nullptr, ChartText::DoseSinceReset},
    {6, 1, nullptr, ChartText::GapToday},
    {6, 2, nullptr, ChartText::GapSinceReset},
};

inline int CellId(int channel, size_t cell)
{
    const Cell& c = CELLS[cell];
    return c.text ? IDC_CHART_TEXTS + channel * CHART_IDS_PER_CHANNEL + LABEL_ID_OFFSET +
                        static_cast<int>(cell)
                  : ChartTextId(channel, c.value);
}
