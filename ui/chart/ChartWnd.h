#pragma once

// The chart window: the chosen span of the history drawn as a chart, with each channel's
// statistics below it as static texts. Modeless, resizable, owned by the main window; it reads
// the history by itself once a second and never draws more often.

#include "ui/chart/ChartHistory.h"
#include "ui/chart/ChartPainter.h"
#include "ui/chart/ChartSettings.h"
#include "ui/chart/ChartView.h"
#include "res/resource.h"
#include "toolkit/Dialog.h"

#include <functional>
#include <string>

// The statistics texts of a channel; each is a static text with its own id (ChartTextId).
enum class ChartText : int
{
    ViewMin,
    ViewMax,
    ViewAverage,
    ResetMin,
    ResetMax,
    ResetAverage,
    DoseName,
    DoseToday,
    DoseSinceReset,
    GapToday,
    GapSinceReset,
};
constexpr int CHART_IDS_PER_CHANNEL = 40; // values from 0, fixed labels from 20
inline int ChartTextId(int channel, ChartText text)
{
    return IDC_CHART_TEXTS + channel * CHART_IDS_PER_CHANNEL + static_cast<int>(text);
}

constexpr UINT_PTR TIMER_CHART_REFRESH = 1;
constexpr UINT CHART_REFRESH_MS = 1000;

class CChartWnd : public CDialog
{
public:
    using LookSource = std::function<ChartLook()>;

    // The history is read (and its totals reset) by the window; look gives the panels' colours.
    CChartWnd(ChartHistory& history, LookSource look);

    // Opens the window owned by owner, where settings place it (or centred on the owner), or
    // brings it to the front when it is open already.
    bool Open(CWnd& owner);
    bool IsOpen() const { return m_hWnd != nullptr; }
    // Shows the history as it is now (the window does so by itself once a second).
    void Refresh();
    // Writes the chart, at the size shown, to a PNG file; a failure is told to the user.
    bool SaveImage(const std::wstring& path);

    // Loaded before Open, kept up to date while the window is open, read at exit: the span, the
    // open flag (cleared only when the user closes the window) and the window's rectangle.
    ChartSettings settings;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void BindControls() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override {}
    void OnCancel() override;

private:
    void CreateStatisticsTexts();
    void Layout(int width, int height);
    void RememberPlacement();
    void PlaceWindow(HWND owner);
    void OnSaveImage();
    int DluX(int units) const;
    int DluY(int units) const;
    SIZE MinimumClientSize() const;

    ChartHistory& history_;
    LookSource look_;
    CChartView view_;
    std::uint64_t shownVersion_ = 0;
    ChartLook shownLook_{};
    int labelWidth_ = 0;  // pixels of the widest row label
    int valueWidth_ = 0;  // pixels of the widest value text expected
    bool placed_ = false; // the window stands where the settings put it: its moves are kept
};
