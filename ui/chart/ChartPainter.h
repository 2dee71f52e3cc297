#pragma once

// Draws the chart of a span: the value scale(s) with their unit, the clock times, a grid, one line
// per channel with data (channel 2 dashed, and named in a legend) and the dates in view. Used for
// the screen and for the saved picture alike.

#include "ui/chart/ChartHistory.h"
#include "ui/chart/LocalClock.h"
#include "ui/PanelLook.h"

#include <windows.h>

// The panels' colours: the lines and texts in the text colour on the background colour.
struct ChartLook
{
    COLORREF text;
    COLORREF background;
};

// The chart in the colours of the panels.
inline ChartLook ChartLookOf(const PanelLook& panels)
{
    return {panels.textColour, panels.backgroundColour};
}

void PaintChart(HDC dc, const RECT& area, const ChartHistory& history, int spanSeconds,
                const ChartLook& look, HFONT font, UtcOffsetFn offset = SystemUtcOffset);
