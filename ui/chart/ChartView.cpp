#include "ui/chart/ChartView.h"

#include "toolkit/DC.h"
#include "toolkit/Gdi.h"

void CChartView::Show(const ChartHistory* history, int spanSeconds, const ChartLook& look,
                      HFONT font)
{
    history_ = history;
    spanSeconds_ = spanSeconds;
    look_ = look;
    font_ = font;
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CChartView::Draw(HDC dc, const RECT& area) const
{
    if (history_)
    {
        PaintChart(dc, area, *history_, spanSeconds_, look_, font_);
        return;
    }
    const BrushHandle background(CreateSolidBrush(look_.background));
    FillRect(dc, &area, background.Get());
}

LRESULT CChartView::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    default:
        return Default(msg, wParam, lParam);
    }
}

void CChartView::OnPaint()
{
    const RECT area = GetClientRect();
    CPaintDC paintDc(*this);
    CMemoryDC dc(paintDc, area);
    Draw(dc.m_hDC, area);
}
