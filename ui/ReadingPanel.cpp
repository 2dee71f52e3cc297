#include "ui/ReadingPanel.h"

#include "ui/MemoryDC.h"
#include "ui/RaisedTwo.h"

#include <cwchar>

namespace
{
constexpr UINT CENTRED_LINE = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
}

CReadingPanel::CReadingPanel()
{
    logFont.lfHeight = DEFAULT_FONT_HEIGHT;
    std::wcsncpy(logFont.lfFaceName, L"Arial", LF_FACESIZE - 1);
}

void CReadingPanel::RepaintNow() const
{
    if (m_hWnd)
        RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CReadingPanel::SetReading(double value)
{
    if (value == value_ && noReading_ == 0)
        return;
    value_ = value;
    noReading_ = 0;
    RepaintNow();
}

void CReadingPanel::ClearReading()
{
    noReading_ = 1;
    RepaintNow();
}

void CReadingPanel::SetBlinking(bool on)
{
    if (!m_hWnd)
        return; // a timer without a window would be a thread timer with an id of its own
    if (on)
    {
        if (blinkTimerId_ == 0)
            blinkTimerId_ = SetTimer(TIMER_BLINK, BLINK_PERIOD_MS);
        return;
    }
    KillTimer(blinkTimerId_);
    blinkTimerId_ = 0;
    hidden_ = 0;
}

void CReadingPanel::SetUnitOptions(int mode, int label, double k)
{
    if (units.SetUnitOptions(mode, label, k))
        RepaintNow();
}

LRESULT CReadingPanel::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        break; // every timer also gets the default processing
    default:
        break;
    }
    return Default(msg, wParam, lParam);
}

void CReadingPanel::OnTimer(UINT_PTR id)
{
    if (id != TIMER_BLINK)
        return;
    hidden_ = !hidden_;
    RepaintNow();
}

void CReadingPanel::OnPaint()
{
    // Converted on every paint, also without a reading: the conversion of any value is harmless.
    const double shown = ConvertValue(value_);
    const RECT area = GetClientRect();

    CPaintDC paintDc(*this);
    CMemoryDC dc(paintDc, area);
    dc.FillSolidRect(area, backgroundColour);
    if (hidden_)
        return;

    ScopedSelectObject font(dc.m_hDC, font_.Get());
    dc.SetBkColor(backgroundColour);
    dc.SetTextColor(textColour);
    if (noReading_)
    {
        RECT box = area;
        dc.DrawText("???", &box, CENTRED_LINE);
        return;
    }
    DrawValue(dc, area, shown);
}

void CReadingPanel::DrawValue(CDC& dc, const RECT& area, double shown) const
{
    const DisplayFormat format = units.Format();
    if (!format.format)
        return; // a unit the panel does not know: background only

    const std::string text = FormatNumber(format.format, shown);
    if (!format.raisedTwo)
    {
        RECT box = area;
        dc.DrawText(text, &box, CENTRED_LINE);
        return;
    }

    // The unit's final "2" is drawn raised: the text without it starts where the whole text would
    // start if centred, and the "2" sits over the end of the whole text, a quarter height higher.
    RECT measured = area;
    dc.DrawText(text, &measured, DT_CALCRECT | DT_SINGLELINE);
    const RaisedTwoBoxes boxes =
        ComputeRaisedTwoBoxes({area.left, area.top, area.right, area.bottom},
                              measured.right - measured.left, measured.bottom - measured.top);
    RECT main{boxes.main.left, boxes.main.top, boxes.main.right, boxes.main.bottom};
    dc.DrawText(FormatNumber(format.shortFormat, shown), &main, DT_VCENTER | DT_SINGLELINE);
    RECT raised{boxes.raised.left, boxes.raised.top, boxes.raised.right, boxes.raised.bottom};
    dc.DrawText("2", &raised, CENTRED_LINE);
}
