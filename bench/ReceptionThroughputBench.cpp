// How many frames per second the main window takes when the bytes arrive as fast as the virtual
// serial pair carries them: the real serial port engine on COM8, a writer on COM9 (see
// scripts/bench, which makes the pair), the real reception, decoder, panels and status line.

#include "tools/qm7xx-sim/FrameEncoder.h"
#include "ui/MainDlg.h"

#include <commctrl.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace
{

constexpr int RECEIVER_PORT = 8;
constexpr int SENDER_PORT = 9;

struct Counts
{
    long long bytes = 0;
    long long goodFrames = 0;
    long long badFrames = 0;
    CMainDlg* window = nullptr;
};

// Counts, behind the window's back, what its reception made of every byte.
LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR data)
{
    const LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
    if (msg == SerialPort::WM_METER_BYTE)
    {
        auto* counts = reinterpret_cast<Counts*>(data);
        ++counts->bytes;
        if (wParam == 0x0D && counts->window->Link().PendingBytes() == 0)
            ++(counts->window->Link().IsLost() ? counts->badFrames : counts->goodFrames);
    }
    return result;
}

std::vector<std::uint8_t> Frames(int count)
{
    std::vector<std::uint8_t> all;
    for (int i = 0; i < count; ++i)
    {
        Frame17Spec f;
        f.deviceNumber = 4321;
        f.unitKlx = true;
        f.raw = 1000 + i % 9000; // a new value every frame, so every frame repaints
        const std::vector<std::uint8_t> bytes = EncodeFrame(f);
        all.insert(all.end(), bytes.begin(), bytes.end());
    }
    return all;
}

} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 3000;
    AppSettings settings;
    settings.portNr = RECEIVER_PORT;
    settings.showAdv = false; // no advert window over the measurement
    CMainDlg window(settings);
    if (!window.Create() || !window.IsPortOpen())
    {
        std::fprintf(stderr, "reception_bench: COM%d could not be opened (is the pair made?)\n",
                     RECEIVER_PORT);
        return 1;
    }
    Counts counts;
    counts.window = &window;
    SetWindowSubclass(window.m_hWnd, CountingProc, 7, reinterpret_cast<DWORD_PTR>(&counts));

    wchar_t name[32];
    swprintf(name, 32, L"\\\\.\\COM%d", SENDER_PORT);
    HANDLE sender =
        CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (sender == INVALID_HANDLE_VALUE)
    {
        std::fprintf(stderr, "reception_bench: COM%d could not be opened\n", SENDER_PORT);
        return 1;
    }
    Sleep(300); // the worker empties the queues when it starts
    const std::vector<std::uint8_t> bytes = Frames(frames);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    std::thread writer(
        [&]
        {
            DWORD written = 0;
            WriteFile(sender, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        });
    // Take the window's messages until every byte is in, or nothing more comes for two seconds.
    ULONGLONG lastProgress = GetTickCount64();
    long long seen = 0;
    while (counts.bytes < static_cast<long long>(bytes.size()) &&
           GetTickCount64() - lastProgress < 2000)
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (counts.bytes != seen)
        {
            seen = counts.bytes;
            lastProgress = GetTickCount64();
            QueryPerformanceCounter(&end);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    writer.join();
    const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) /
                           static_cast<double>(frequency.QuadPart);
    std::printf("frames sent %d (%zu bytes) in %.2f s: bytes received %lld, good frames %lld, bad "
                "frames %lld\n",
                frames, bytes.size(), seconds, counts.bytes, counts.goodFrames, counts.badFrames);
    std::printf("frames per second taken by the window: %.0f (the meter sends 2 at most)\n",
                static_cast<double>(counts.goodFrames) / seconds);
    std::printf("lost: %lld bytes, %lld frames\n",
                static_cast<long long>(bytes.size()) - counts.bytes, frames - counts.goodFrames);
    RemoveWindowSubclass(window.m_hWnd, CountingProc, 7);
    CloseHandle(sender);
    window.ClosePort();
    DestroyWindow(window.m_hWnd);
    return counts.goodFrames == frames ? 0 : 2;
}
