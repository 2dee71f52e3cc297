#pragma once

// A reading panel: one channel's value in large type with its unit, painted off-screen in the
// user's font and colours; "???" while there is no valid reading; blinking on request.

#include "toolkit/Controls.h"
#include "toolkit/DC.h"
#include "ui/PanelLook.h"
#include "units/UnitModel.h"

constexpr UINT_PTR TIMER_BLINK = 1052;
constexpr UINT BLINK_PERIOD_MS = 500;

class CReadingPanel : public CStatic
{
public:
    CReadingPanel();

    // Stores the value and leaves the no-reading state; repaints at once unless nothing changed.
    void SetReading(double value);
    // Enters the no-reading state ("???") and repaints at once; the stored value stays.
    void ClearReading();
    // Starts the 500 ms blink (not restarted when already running) or stops it without repainting.
    void SetBlinking(bool on);

    void SetUnitCode(int code) { units_.SetUnitCode(code); }
    // Ignored for umol and when nothing changes; otherwise stored and repainted at once.
    void SetUnitOptions(const UnitOptions& options);
    const UnitState& Units() const { return units_; }
    double ConvertValue(double raw) const { return units_.ConvertValue(raw); }

    // Colours and font; the font is created anew from the look. Not repainted here.
    void SetLook(const PanelLook& look);
    PanelLook Look() const;
    void SetColour(bool background, COLORREF colour);
    // The whole font description (a chosen font keeps its other fields for the run).
    void SetLogFont(const LOGFONTW& font);
    const LOGFONTW& LogFont() const { return logFont_; }
    HFONT ReadingFont() const { return font_.Get(); }

    bool HasReading() const { return hasReading_; }
    bool IsBlinking() const { return blinkTimerId_ != 0; }
    bool IsHiddenPhase() const { return hidden_; }
    double StoredValue() const { return value_; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void RepaintNow() const;
    void DrawValue(CDC& dc, const RECT& area, double shown) const;

    UnitState units_;
    LOGFONTW logFont_{};
    COLORREF textColour_;
    COLORREF backgroundColour_;
    UINT_PTR blinkTimerId_ = 0;
    bool hidden_ = false;
    FontHandle font_;
    double value_ = 0.0;
    bool hasReading_ = false;
};
