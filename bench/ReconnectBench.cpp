// How long after a pulled adapter comes back, and its meter sends again, the main window shows a
// reading: the virtual pair COM14/COM15 is taken away until the window has been reconnecting for a
// while, then made again with the meter simulator sending on COM15 at once; the time from the
// pair's return to the first good frame handled is measured, a few times over. Run in build/win.
//
// usage: reconnect_bench SERIAL_PAIR_SCRIPT PAIR_DIR PREFIX [cycles]   (Linux paths; see
// scripts/bench)

#include "bench/BenchClock.h"
#include "toolkit/Handles.h"
#include "ui/MainDlg.h"

#include <commctrl.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
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
        const UniqueHandle port(
            CreateFileW(L"\\\\.\\COM14", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
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

    std::vector<double> ms;
    for (int i = 0; i < cycles; ++i)
    {
        Pair(argv, "stop");
        // Long enough for the link to be reconnecting (10 s of silence), and a little more.
        Pump(11000 + 700 * static_cast<DWORD>(i));
        if (!Pair(argv, "start"))
        {
            std::printf("cycle %d: the pair could not be made again\n", i + 1);
            break;
        }
        const double back = Now();
        // The meter simulator, as the end-to-end tier plays the meter.
        std::wstring command = L"tools\\qm7xx-sim\\qm7xx-sim.exe --port COM15 --model 700 --fast";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION meter{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &meter))
            return 1;
        while (window.Link().IsLost() && Now() - back < 15000)
            Pump(5);
        ms.push_back(Now() - back);
        TerminateProcess(meter.hProcess, 0);
        WaitForSingleObject(meter.hProcess, 5000);
        CloseHandle(meter.hThread);
        CloseHandle(meter.hProcess);
        std::printf("cycle %d: first reading %.0f ms after the port came back\n", i + 1, ms.back());
    }
    if (ms.empty())
        return 1;
    std::sort(ms.begin(), ms.end());
    std::printf("port back to first reading: median %.0f ms, max %.0f ms (%d cycles)\n",
                ms[ms.size() / 2], ms.back(), static_cast<int>(ms.size()));
    window.ClosePort();
    DestroyWindow(window.m_hWnd);
    Pair(argv, "stop");
    return 0;
}
