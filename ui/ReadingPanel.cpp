#include "ui/ReadingPanel.h"

#include "res/Texts.h"
#include "toolkit/DC.h"
#include "toolkit/TextConv.h"
#include "ui/RaisedTwo.h"

#include <cmath>
#include <cwchar>

namespace
{
constexpr UINT CENTRED_LINE = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
}

CReadingPanel::CReadingPanel()
{
    SetLook(PanelLook{});
}

void CReadingPanel::SetLook(const PanelLook& look)
{
    textColour_ = look.textColour;
    backgroundColour_ = look.backgroundColour;
    LOGFONTW font{};
    font.lfHeight = look.font.height;
    font.lfItalic = look.font.italic;
    font.lfWeight = look.font.weight;
    // The stored name's length was checked when it was read; cut all the same, never overflow.
    std::wcsncpy(font.lfFaceName, Utf8ToWide(look.font.faceName).c_str(), LF_FACESIZE - 1);
    SetLogFont(font);
}

PanelLook CReadingPanel::Look() const
{
    PanelLook look;
    look.textColour = textColour_;
    look.backgroundColour = backgroundColour_;
    look.font.height = logFont_.lfHeight;
    look.font.faceName = WideToUtf8(logFont_.lfFaceName);
    look.font.italic = logFont_.lfItalic;
    look.font.weight = logFont_.lfWeight;
    return look;
}

void CReadingPanel::SetColour(bool background, COLORREF colour)
{
    (background ? backgroundColour_ : textColour_) = colour;
}

void CReadingPanel::SetLogFont(const LOGFONTW& font)
{
    logFont_ = font;
    font_.Reset();
    font_.Reset(CreateFontIndirectW(&logFont_));
}

void CReadingPanel::RepaintNow() const
{
    if (m_hWnd)
        RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CReadingPanel::SetReading(double value)
{
    if (value == value_ && hasReading_)
        return;
    value_ = value;
    hasReading_ = true;
    RepaintNow();
}

void CReadingPanel::ClearReading()
{
    hasReading_ = false;
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
    hidden_ = false;
}

void CReadingPanel::SetUnitOptions(const UnitOptions& options)
{
    if (units_.SetUnitOptions(options))
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
    dc.FillSolidRect(area, backgroundColour_);
    if (hidden_)
        return;

    ScopedSelectObject font(dc.m_hDC, font_.Get());
    dc.SetBkColor(backgroundColour_);
    dc.SetTextColor(textColour_);
    // A value that is not a number (a K that makes no sense) is never drawn as one.
    if (!hasReading_ || !std::isfinite(shown))
    {
        RECT box = area;
        dc.DrawText(texts::NO_READING, &box, CENTRED_LINE);
        return;
    }
    DrawValue(dc, area, shown);
}

void CReadingPanel::DrawValue(CDC& dc, const RECT& area, double shown) const
{
    const DisplayFormat format = units_.Format();
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
