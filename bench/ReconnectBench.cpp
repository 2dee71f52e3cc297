// How long after a pulled adapter comes back, and its meter sends again, the main window shows a
// reading: the virtual pair COM14/COM15 is taken away until the window has been reconnecting for a
// while, then made again with the meter simulator sending on COM15 at once; the time from the
// pair's return to the first good frame handled is measured, a few times over. Run in build/win.
//
// The pair is made and taken away by scripts/bench, which carries out each "start" or "stop" this
// program writes into PAIR_DIR/request. (Started from here, as a Linux program under Wine, the pair
// script's second "stop" ended this process with exit code 0, after one cycle; QM7xx.exe on its own
// comes back after every pull.)
//
// usage: reconnect_bench PAIR_DIR [cycles]   (a Linux path; see scripts/bench)

#include "bench/BenchClock.h"
#include "toolkit/Handles.h"
#include "ui/MainDlg.h"

#include <commctrl.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// Asks for the pair to be made or taken away, and waits until it is (made: the program's end
// opens).
bool Pair(const std::string& dir, const char* action)
{
    const std::wstring request = Windows(dir + "/request");
    const std::wstring written = request + L".new";
    {
        const UniqueHandle file(CreateFileW(written.c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD size = 0;
        if (!file ||
            !WriteFile(file.Get(), action, static_cast<DWORD>(std::strlen(action)), &size, nullptr))
            return false;
    }
    if (!MoveFileExW(written.c_str(), request.c_str(), MOVEFILE_REPLACE_EXISTING))
        return false;
    const std::wstring pid = Windows(dir + "/socat.pid");
    const bool starting = std::string(action) == "start";
    const auto made = []
    {
        const UniqueHandle port(
            CreateFileW(L"\\\\.\\COM14", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        return port.Valid();
    };
    for (const double end = Now() + 10000; Now() < end; Pump(20))
        if (GetFileAttributesW(request.c_str()) == INVALID_FILE_ATTRIBUTES &&
            (GetFileAttributesW(pid.c_str()) != INVALID_FILE_ATTRIBUTES) == starting &&
            (!starting || made()))
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 64;
    const std::string pair = argv[1];
    const int cycles = argc > 2 ? std::atoi(argv[2]) : 5;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!Pair(pair, "start"))
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
        Pair(pair, "stop");
        // Long enough for the link to be reconnecting (10 s of silence), and a little more.
        Pump(11000 + 700 * static_cast<DWORD>(i));
        if (!Pair(pair, "start"))
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
    Pair(pair, "stop");
    return 0;
}
