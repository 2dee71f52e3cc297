// Benchmarks of the chart under Wine (or Windows), on a full day of two channels:
//  - drawing the 24-hour span into an off-screen 1000 x 400 picture (reduction included);
//  - the same through the chart window's view, repainted at once (memory DC and copy included);
//  - the statistics texts of both channels, as the window computes them once a second;
//  - one Sample of both channels, as the main window records it;
// and the memory the history takes. Prints median, 99th percentile and maximum.

#include "ui/chart/ChartStatistics.h"
#include "ui/chart/ChartView.h"

#include <windows.h>

#include "bench/BenchClock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{

constexpr int WIDTH = 1000, HEIGHT = 400;
constexpr ChartLook LOOK{RGB(0, 64, 128), RGB(202, 228, 255)};

void Report(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-62s n=%zu median=%.3f ms p99=%.3f ms max=%.3f ms\n", what, ms.size(),
                ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back());
}

std::vector<double> Time(int calls, const std::function<void(int)>& call)
{
    std::vector<double> ms;
    for (int i = 0; i < calls; ++i)
    {
        const double start = Now();
        call(i);
        ms.push_back(Now() - start);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    return ms;
}

// A day of drifting values with noise, a lost link of 20 minutes every 6 hours and a few meter
// errors; channel 2 in another unit, so that both scales are drawn.
void FillDay(ChartHistory& history, std::int64_t end)
{
    for (std::int64_t s = end - ChartHistory::SECONDS + 1; s <= end; ++s)
    {
        const double t = static_cast<double>(s);
        const bool lost = s % 21600 < 1200;
        const bool error = s % 2711 < 30;
        const double value = 600.0 + 300.0 * std::sin(t / 9000.0) + 20.0 * std::sin(t / 37.0);
        history.Sample(
            s, lost || error ? ChannelSample{} : ChannelSample{true, value, ShownUnit::Umol},
            lost ? ChannelSample{} : ChannelSample{true, value * 0.2, ShownUnit::Wm2});
    }
}

} // namespace

int main()
{
    ChartHistory history;
    const std::int64_t end = 1709251200;
    FillDay(history, end);
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    std::printf("history: %zu bytes for %d seconds x %d channels\n", history.MemoryBytes(),
                ChartHistory::SECONDS, ChartHistory::CHANNELS);

    // Off-screen, as the saved picture is drawn and as the view draws into its memory DC.
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, WIDTH, HEIGHT);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT area{0, 0, WIDTH, HEIGHT};
    Report("PaintChart, 24 h of 2 channels, 1000x400 off-screen",
           Time(300,
                [&](int)
                {
                    PaintChart(dc, area, history, ChartHistory::SECONDS, LOOK, font);
                    GdiFlush();
                }));
    Report("PaintChart, 10 min of 2 channels, 1000x400 off-screen",
           Time(300,
                [&](int)
                {
                    PaintChart(dc, area, history, 600, LOOK, font);
                    GdiFlush();
                }));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);

    // In a window: the view repainted at once, through its memory DC to the screen.
    RECT frame{0, 0, WIDTH, HEIGHT};
    AdjustWindowRect(&frame, WS_POPUP | WS_CAPTION, FALSE);
    const HWND host = CreateWindowExW(
        0, L"Static", L"chart bench", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0,
        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
    const HWND viewWindow = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 0, WIDTH,
                                            HEIGHT, host, nullptr, nullptr, nullptr);
    CChartView view;
    view.SubclassWindow(viewWindow);
    view.Show(&history, ChartHistory::SECONDS, LOOK, font);
    Report("chart view repainted at once, 24 h, 1000x400 window",
           Time(300, [&](int)
                { RedrawWindow(viewWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }));
    const ChartHistory empty;
    view.Show(&empty, ChartHistory::SECONDS, LOOK, font);
    Report("the same with an empty history (axes, memory DC and copy only)",
           Time(300, [&](int)
                { RedrawWindow(viewWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }));
    view.UnsubclassWindow();
    DestroyWindow(host);

    Report("statistics texts of both channels (24 h span)",
           Time(100,
                [&](int)
                {
                    for (int channel = 0; channel < ChartHistory::CHANNELS; ++channel)
                        ReportChannel(history, channel, ChartHistory::SECONDS, SystemUtcOffset);
                }));
    std::int64_t second = end;
    std::vector<double> sample;
    for (int i = 0; i < 20000; ++i)
    {
        if (i % 2 == 0)
            ++second; // two samples a second, as a 500 ms timer gives
        const double start = Now();
        history.Sample(second, {true, 500.0 + i % 7, ShownUnit::Umol},
                       {true, 100.0, ShownUnit::Wm2});
        sample.push_back(Now() - start);
    }
    Report("Sample of both channels (the main window, twice a second)", sample);
    return 0;
}
