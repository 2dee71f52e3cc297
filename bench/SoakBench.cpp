// A long run of the real main window on the real serial port engine: frames as fast as the
// virtual serial pair carries them (COM9 -> COM8, see scripts/bench), one and two channels in turn
// with measurement and calibration errors and damaged frames, so that the panels blink, show and
// hide, then a stretch of silence in which the watchdog keeps the "???" blinking. Prints the
// process's GDI and USER objects, handles and private bytes before and after, and the CPU time of
// each stretch: what a program meant to run for days must not let grow.
// usage: soak_bench [frames, default 100000] [idle seconds, default 180]

#include "tests/win/support/HandleCount.h"
#include "tests/win/support/MessagePump.h"
#include "tools/qm7xx-sim/FrameEncoder.h"
#include "ui/MainDlg.h"

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace
{

constexpr int RECEIVER_PORT = 8;
constexpr int SENDER_PORT = 9;
constexpr int FRAMES_PER_WRITE = 500;

// Frame `i` of a cycle of eight: one channel, then two (panel 2 shows), then one again (it
// hides), with errors that make panels blink and damaged frames that show "???".
std::vector<std::uint8_t> Frame(int i)
{
    std::vector<std::uint8_t> bytes;
    const int kind = i % 8;
    if (kind < 2 || kind > 5)
    {
        Frame17Spec f;
        f.deviceNumber = 4321;
        f.unitKlx = true;
        f.raw = 1000 + i % 9000; // a new value every frame, so every frame repaints
        f.measurementError = kind == 1;
        f.calibrationError = kind == 6;
        bytes = EncodeFrame(f);
    }
    else
    {
        Frame24Spec f;
        f.deviceNumber = 4321;
        f.channel1 = {1, false, 1000 + i % 9000};
        f.channel2 = {0, false, 2000 + i % 7000};
        f.measurementError2 = kind == 3;
        bytes = EncodeFrame(f);
    }
    if (kind == 4 || kind == 7)
        bytes[5] ^= 0x01; // the checksum no longer matches
    return bytes;
}

struct Usage
{
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
    double cpuSeconds = 0;
};

// GetGuiResources answers 0 under Wine. Wine keeps its GDI handle table, as Windows does, where
// the process environment block's GdiSharedHandleTable points (offset 0xF8 in 64-bit
// processes); an entry in use has a non-zero type. Wine's entry layout, 24 bytes:
struct WineGdiEntry
{
    unsigned long long object;
    unsigned long owner;
    unsigned short unique;
    unsigned char type;
    unsigned char flags;
    unsigned long long user;
};

DWORD WineGdiObjects()
{
    using Query = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic = {};
    if (query == nullptr ||
        query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return 0;
    const WineGdiEntry* table = nullptr;
    std::memcpy(&table, reinterpret_cast<const unsigned char*>(basic.PebBaseAddress) + 0xF8,
                sizeof table);
    DWORD count = 0;
    for (int i = 0; table != nullptr && i < 0x10000; ++i)
        count += table[i].type != 0 ? 1 : 0;
    return count;
}

// USER objects are not counted by Wine either; the windows of this process stand in for them.
BOOL CALLBACK CountWindow(HWND window, LPARAM count)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId())
    {
        ++*reinterpret_cast<DWORD*>(count);
        EnumChildWindows(window, CountWindow, count);
    }
    return TRUE;
}

Usage Measure()
{
    Usage u;
    const HANDLE self = GetCurrentProcess();
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    u.gdiObjects = wine ? WineGdiObjects() : GetGuiResources(self, GR_GDIOBJECTS);
    u.userObjects = GetGuiResources(self, GR_USEROBJECTS);
    if (wine)
        EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&u.userObjects));
    u.handles = HandleCount();
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    u.privateBytes = memory.PrivateUsage;
    FILETIME created, exited, kernel, user;
    GetProcessTimes(self, &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t)
    { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7; };
    u.cpuSeconds = seconds(kernel) + seconds(user);
    return u;
}

void Print(const char* when, const Usage& u)
{
    std::printf("%-22s GDI objects %5lu, USER objects (windows under Wine) %5lu, handles %5lu, "
                "private bytes (0: not reported, as under Wine) %8.1f KiB, "
                "CPU %7.2f s\n",
                when, u.gdiObjects, u.userObjects, u.handles, u.privateBytes / 1024.0,
                u.cpuSeconds);
}

// Counts, behind the window's back, the bytes it is handed.
LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR count)
{
    if (msg == SerialPort::WM_METER_BYTE)
        ++*reinterpret_cast<long long*>(count);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 180;
    AppSettings settings;
    settings.portNr = RECEIVER_PORT;
    CMainDlg window(settings);
    if (!window.Create() || !window.IsPortOpen())
    {
        std::fprintf(stderr, "soak_bench: COM%d could not be opened (is the pair made?)\n",
                     RECEIVER_PORT);
        return 1;
    }
    ShowWindow(window.m_hWnd, SW_SHOW);
    wchar_t name[32];
    swprintf(name, 32, L"\\\\.\\COM%d", SENDER_PORT);
    const HANDLE sender =
        CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (sender == INVALID_HANDLE_VALUE)
    {
        std::fprintf(stderr, "soak_bench: COM%d could not be opened\n", SENDER_PORT);
        return 1;
    }
    // The worker empties the queues when it starts; let the window settle before the first count.
    PumpFor(2000);
    const Usage start = Measure();
    Print("start", start);

    long long received = 0;
    SetWindowSubclass(window.m_hWnd, CountingProc, 1, reinterpret_cast<DWORD_PTR>(&received));
    long long sent = 0;
    for (int i = 0; i < frames; ++i)
        sent += static_cast<long long>(Frame(i).size());
    std::atomic<bool> writing{true};
    std::thread writer(
        [&]
        {
            for (int first = 0; first < frames; first += FRAMES_PER_WRITE)
            {
                std::vector<std::uint8_t> bytes;
                for (int i = first; i < frames && i < first + FRAMES_PER_WRITE; ++i)
                {
                    const std::vector<std::uint8_t> frame = Frame(i);
                    bytes.insert(bytes.end(), frame.begin(), frame.end());
                }
                DWORD written = 0;
                WriteFile(sender, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                          nullptr);
            }
            writing = false;
        });
    const ULONGLONG streamStart = GetTickCount64();
    // Until every byte is in, or nothing more comes for five seconds.
    long long seen = -1;
    while (received != seen)
    {
        seen = received;
        PumpUntil([&] { return received == sent || (received != seen && !writing); }, 5000);
        if (received == sent)
            break;
    }
    writer.join();
    const double streamSeconds = (GetTickCount64() - streamStart) / 1000.0;
    const Usage streamed = Measure();
    Print("after the frames", streamed);
    std::printf(
        "%d frames (%lld of %lld bytes handed over) in %.1f s (%.0f frames/s), CPU %.2f s\n",
        frames, received, sent, streamSeconds, frames / streamSeconds,
        streamed.cpuSeconds - start.cpuSeconds);

    PumpFor(static_cast<DWORD>(idleSeconds) * 1000);
    const Usage end = Measure();
    Print("after the idle time", end);
    std::printf("idle %d s: CPU %.2f s (%.2f %% of one core)\n", idleSeconds,
                end.cpuSeconds - streamed.cpuSeconds,
                100.0 * (end.cpuSeconds - streamed.cpuSeconds) / idleSeconds);
    std::printf("growth from start to end: GDI %+ld, USER %+ld, handles %+ld, private bytes "
                "%+.1f KiB\n",
                static_cast<long>(end.gdiObjects) - static_cast<long>(start.gdiObjects),
                static_cast<long>(end.userObjects) - static_cast<long>(start.userObjects),
                static_cast<long>(end.handles) - static_cast<long>(start.handles),
                (static_cast<double>(end.privateBytes) - static_cast<double>(start.privateBytes)) /
                    1024.0);
    RemoveWindowSubclass(window.m_hWnd, CountingProc, 1);
    CloseHandle(sender);
    window.ClosePort();
    DestroyWindow(window.m_hWnd);
    return received == sent ? 0 : 2;
}
