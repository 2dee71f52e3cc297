#pragma once

// A reading panel: one channel's value in large type with its unit, painted off-screen in the
// user's font and colours; "???" while there is no valid reading; blinking on request.

#include "toolkit/Controls.h"
#include "toolkit/DC.h"
#include "toolkit/Gdi.h"
#include "units/UnitModel.h"

constexpr UINT_PTR TIMER_BLINK = 1052;
constexpr UINT BLINK_PERIOD_MS = 500;
constexpr COLORREF DEFAULT_TEXT_COLOUR = 0x00804000;       // red 0, green 64, blue 128
constexpr COLORREF DEFAULT_BACKGROUND_COLOUR = 0x00FFE4CA; // red 202, green 228, blue 255
constexpr LONG DEFAULT_FONT_HEIGHT = 90;

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

    void SetUnitCode(int code) { units.SetUnitCode(code); }
    // Ignored for umol and when nothing changes; otherwise stored and repainted at once.
    void SetUnitOptions(int mode, int label, double k);
    double ConvertValue(double raw) const { return units.ConvertValue(raw); }

    // Takes ownership of the font the reading is drawn in.
    void SetReadingFont(FontHandle font) { font_ = std::move(font); }
    // Deletes the reading font and creates it anew from logFont.
    void RecreateReadingFont()
    {
        font_.Reset();
        font_.Reset(CreateFontIndirectW(&logFont));
    }
    HFONT ReadingFont() const { return font_.Get(); }

    bool HasReading() const { return noReading_ == 0; }
    bool IsBlinking() const { return blinkTimerId_ != 0; }
    bool IsHiddenPhase() const { return hidden_ != 0; }
    double StoredValue() const { return value_; }

    // Held here, read and written by the main window and the settings.
    UnitState units;
    LOGFONTW logFont{};
    COLORREF textColour = DEFAULT_TEXT_COLOUR;
    COLORREF backgroundColour = DEFAULT_BACKGROUND_COLOUR;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void RepaintNow() const;
    void DrawValue(CDC& dc, const RECT& area, double shown) const;

    UINT_PTR blinkTimerId_ = 0;
    int hidden_ = 0;
    FontHandle font_;
    double value_ = 0.0;
    int noReading_ = 1;
};
