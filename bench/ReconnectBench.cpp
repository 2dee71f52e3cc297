// How long after a pulled adapter comes back, and its meter sends again, the main window shows a
// reading: the virtual pair COM14/COM15 is taken away until the window has been reconnecting for a
// while, then made again with frames flowing from COM15 at once; the time from the pair's return
// to the first good frame handled is measured, a few times over.
//
// usage: reconnect_bench SERIAL_PAIR_SCRIPT PAIR_DIR PREFIX [cycles]   (Linux paths; see
// scripts/bench)

#include "bench/BenchClock.h"
#include "tools/qm7xx-sim/FrameEncoder.h"
#include "toolkit/Handles.h"
#include "ui/MainDlg.h"

#include <commctrl.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace
{

std::wstring Windows(const std::string& linuxPath)
{
    std::wstring path = L"Z:";
    for (char c : linuxPath)
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

void Pump(DWORD ms)
{
    for (const double end = Now() + ms; Now() < end;)
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Runs the pair script (a Linux program: no handle comes back) and waits for the pid file.
bool Pair(char** argv, const char* action)
{
    const auto wide = [](const std::string& s) { return std::wstring(s.begin(), s.end()); };
    std::wstring command = Windows(argv[1]) + L" " + wide(action) + L" " + wide(argv[2]) + L" " +
                           wide(argv[3]) + L" com14 com15";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return false;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    const std::wstring pid = Windows(std::string(argv[2]) + "/socat.pid");
    const bool starting = std::string(action) == "start";
    const auto made = []
    {
        const UniqueHandle port(CreateFileW(L"\\\\.\\COM14", GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        return port.Valid();
    };
    for (const double end = Now() + 10000; Now() < end; Pump(20))
        if ((GetFileAttributesW(pid.c_str()) != INVALID_FILE_ATTRIBUTES) == starting &&
            (!starting || made()))
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return 64;
    const int cycles = argc > 4 ? std::atoi(argv[4]) : 5;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!Pair(argv, "start"))
    {
        std::printf("reconnect_bench: the virtual pair could not be made\n");
        return 1;
    }
    std::printf("pair made\n");
    AppSettings settings;
    settings.portNr = 14;
    settings.showAdv = false;
    CMainDlg window(settings);
    if (!window.Create() || !window.IsPortOpen())
    {
        std::printf("reconnect_bench: COM14 could not be opened\n");
        return 1;
    }
    std::printf("window open\n");
    window.KillTimer(TIMER_PORT_RETRY);
    Frame17Spec frame;
    frame.unitKlx = true;
    frame.raw = 125;
    const std::vector<std::uint8_t> bytes = EncodeFrame(frame);

    std::vector<double> ms;
    for (int i = 0; i < cycles; ++i)
    {
        Pair(argv, "stop");
        // Long enough for the link to be reconnecting (10 s of silence), and a little more.
        Pump(11000 + 700 * static_cast<DWORD>(i));
        if (!Pair(argv, "start"))
            return 1;
        const double back = Now();
        std::atomic<bool> stop{false};
        std::thread meter(
            [&]
            {
                UniqueHandle port(CreateFileW(L"\\\\.\\COM15", GENERIC_WRITE, 0, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
                // A write the window does not read yet must not block the meter for ever.
                COMMTIMEOUTS timeouts{};
                timeouts.WriteTotalTimeoutConstant = 200;
                SetCommTimeouts(port.Get(), &timeouts);
                DWORD written = 0;
                while (!stop && port.Valid())
                {
                    WriteFile(port.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr);
                    Sleep(100);
                }
            });
        while (window.Link().IsLost() && Now() - back < 15000)
            Pump(5);
        ms.push_back(Now() - back);
        stop = true;
        meter.join();
        std::printf("cycle %d: first reading %.0f ms after the port came back\n", i + 1, ms.back());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("port back to first reading: median %.0f ms, max %.0f ms (%d cycles)\n",
                ms[ms.size() / 2], ms.back(), cycles);
    window.ClosePort();
    DestroyWindow(window.m_hWnd);
    Pair(argv, "stop");
    return 0;
}
