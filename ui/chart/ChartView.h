#pragma once

// The chart area of the chart window: a static control that paints the chart itself, off-screen.

#include "ui/chart/ChartPainter.h"
#include "toolkit/Controls.h"

class CChartView : public CStatic
{
public:
    // What to draw; repainted when the system next paints (the window asks at most once a second).
    void Show(const ChartHistory* history, int spanSeconds, const ChartLook& look, HFONT font);
    void Draw(HDC dc, const RECT& area) const;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();

    const ChartHistory* history_ = nullptr;
    int spanSeconds_ = 3600;
    ChartLook look_{0, RGB(255, 255, 255)};
    HFONT font_ = nullptr;
};
