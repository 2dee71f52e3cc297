// Benchmarks of the display path under Wine (or Windows):
//  - SetReading with a new value, including the synchronous repaint of the panel;
//  - the reception of a frame's carriage return: decoding, panels, status line and repaints.
// Prints the median and maximum of many calls, for the default window and a maximised one.

#include "tools/qm7xx-sim/FrameEncoder.h"
#include "res/resource.h"
#include "ui/MainDlg.h"

#include <windows.h>

#include "bench/BenchClock.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{

void Report(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-58s n=%zu median=%.3f ms p99=%.3f ms max=%.3f ms\n", what, ms.size(),
                ms[ms.size() / 2], ms[ms.size() * 99 / 100], ms.back());
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A panel the size of the main window's panel 1, on a window of its own.
std::vector<double> TimeSetReading(const CMainDlg& window, int calls)
{
    std::vector<double> ms;
    const RECT r = window.Panel(0).GetWindowRect();
    CReadingPanel panel;
    panel.SubclassWindow(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE,
                                         r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
                                         nullptr, nullptr, nullptr));
    panel.SetUnitCode(UNIT_WM2); // the raised "2": the costliest drawing
    for (int i = 0; i < calls; ++i)
    {
        const double value = 100.0 + i % 1000 / 10.0 + (i % 2 ? 0.05 : 0.0);
        const double start = Now();
        panel.SetReading(value);
        ms.push_back(Now() - start);
        if (i % 50 == 0)
            Pump();
    }
    DestroyWindow(panel.m_hWnd);
    return ms;
}

std::vector<double> TimeFrames(CMainDlg& window, int frames, bool twoChannels)
{
    std::vector<double> ms;
    for (int i = 0; i < frames; ++i)
    {
        std::vector<std::uint8_t> bytes;
        if (twoChannels)
        {
            Frame24Spec f;
            f.deviceNumber = 7;
            f.channel1 = {1, false, 500 + i % 400};
            f.channel2 = {0, false, 900 + i % 300};
            bytes = EncodeFrame(f);
        }
        else
        {
            Frame17Spec f;
            f.deviceNumber = 1234;
            f.unitKlx = true;
            f.raw = 1000 + i % 500;
            bytes = EncodeFrame(f);
        }
        for (size_t b = 0; b + 1 < bytes.size(); ++b)
            window.SendMessage(SerialPort::WM_METER_BYTE, bytes[b], 0);
        const double start = Now();
        window.SendMessage(SerialPort::WM_METER_BYTE, bytes.back(), 0); // the carriage return
        ms.push_back(Now() - start);
        if (i % 50 == 0)
            Pump();
    }
    return ms;
}

std::vector<double> TimeCall(int calls, const std::function<void(int)>& call)
{
    std::vector<double> ms;
    for (int i = 0; i < calls; ++i)
    {
        const double start = Now();
        call(i);
        ms.push_back(Now() - start);
        if (i % 50 == 0)
            Pump();
    }
    return ms;
}

void PrintPanels(const CMainDlg& window, const char* layout)
{
    const RECT panel = window.Panel(0).GetClientRect();
    std::printf("-- %s, panel 1 client %ldx%ld\n", layout, panel.right, panel.bottom);
}

void RunAll(CMainDlg& window, const char* size)
{
    TimeFrames(window, 1, false); // one panel from here on
    std::printf("== %s window\n", size);
    PrintPanels(window, "one panel");
    Report("SetReading, new value, synchronous repaint", TimeSetReading(window, 2000));
    Report("frame received (17 bytes): carriage return handled", TimeFrames(window, 2000, false));
    TimeFrames(window, 1, true); // two panels from here on
    PrintPanels(window, "two panels");
    Report("frame received (24 bytes): carriage return handled", TimeFrames(window, 2000, true));
}

} // namespace

int main()
{
    AppSettings settings;
    settings.showAdv = false; // no advert window over the measurement
    CMainDlg window(settings);
    if (!window.Create())
    {
        std::fprintf(stderr, "display_bench: the main window could not be created\n");
        return 1;
    }
    window.KillTimer(TIMER_PORT_RETRY);
    Pump();
    // What one edit text costs even when unchanged: the reason the status line is only set when
    // new.
    Report(
        "status line edit: SetWindowText of an unchanged text",
        TimeCall(2000, [&](int)
                 { window.StatusLine().SetWindowText("QM-700 numer 1234. Pomiar prawidłowy."); }));
    RunAll(window, "550x400");
    ShowWindow(window.m_hWnd, SW_MAXIMIZE);
    Pump();
    RunAll(window, "maximised");
    // The same frames with the chart window open beside the main window (it redraws on its own
    // once a second, never while a byte is handled).
    ShowWindow(window.m_hWnd, SW_RESTORE);
    window.SendMessage(WM_COMMAND, ID_VIEW_CHART);
    Pump();
    std::printf("== chart window open\n");
    Report("frame received (17 bytes), chart open: carriage return handled",
           TimeFrames(window, 4000, false));
    DestroyWindow(window.m_hWnd);
    return 0;
}
