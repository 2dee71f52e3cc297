// How fast the serial port engine delivers bytes to a window, and what its worker costs while no
// byte arrives. Runs on a pair of connected COM ports (a virtual pair: scripts/serial-pair).
//
// usage: serial_throughput_bench [RECEIVER_PORT SENDER_PORT [BYTES [IDLE_SECONDS]]]
//        defaults: 8 9 20000 10

#include "meter/SerialPort.h"
#include "toolkit/Handles.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace
{

// The meter: 300 baud, 7 data bits, no parity, 1 stop bit = 9 bits a byte.
constexpr double METER_BYTES_PER_SECOND = 300.0 / 9.0;

struct Received
{
    std::vector<unsigned char> bytes;
    LARGE_INTEGER first = {};
    LARGE_INTEGER last = {};
};

LRESULT CALLBACK SinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SerialPort::WM_METER_BYTE)
    {
        auto* received = reinterpret_cast<Received*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        if (received->bytes.empty())
            received->first = now;
        received->last = now;
        received->bytes.push_back(static_cast<unsigned char>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void PumpFor(DWORD ms, const std::vector<unsigned char>& bytes, std::size_t until)
{
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;)
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        const ULONGLONG now = GetTickCount64();
        if (bytes.size() >= until || now >= deadline)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                  QS_ALLINPUT);
    }
}

bool WriteAll(HANDLE port, const std::vector<unsigned char>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size())
    {
        DWORD written = 0;
        if (!WriteFile(port, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                       nullptr))
            return false;
        done += written;
    }
    return true;
}

double Seconds(const FILETIME& t)
{
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return static_cast<double>(v.QuadPart) / 1e7;
}

double ThreadCpu(HANDLE thread)
{
    FILETIME created, ended, kernel, user;
    if (!GetThreadTimes(thread, &created, &ended, &kernel, &user))
        return -1;
    return Seconds(kernel) + Seconds(user);
}

double ProcessCpu()
{
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

struct WindowOwner
{
    HWND window;
    ~WindowOwner() { DestroyWindow(window); }
};

int Fail(const char* what)
{
    std::fprintf(stderr, "serial_throughput_bench: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    const int receiverPort = argc > 1 ? std::atoi(argv[1]) : 8;
    const int senderPort = argc > 2 ? std::atoi(argv[2]) : 9;
    const std::size_t count = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 20000;
    const int idleSeconds = argc > 4 ? std::atoi(argv[4]) : 10;

    WNDCLASSW wc = {};
    wc.lpfnWndProc = SinkProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QM7xxBenchSink";
    RegisterClassW(&wc);
    const WindowOwner owner{CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                            nullptr, wc.hInstance, nullptr)};
    HWND window = owner.window;
    Received received;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&received));

    SerialPort port;
    if (!port.Open(window, receiverPort, 300, 'N', 7, 1, EV_RXCHAR) || !port.StartWorker())
        return Fail("cannot open the receiving port");
    const std::wstring senderName = L"\\\\.\\COM" + std::to_wstring(senderPort);
    UniqueHandle sender(CreateFileW(senderName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    if (!sender)
        return Fail("cannot open the sending port");

    // The worker empties the queues when it starts: wait until a byte comes through.
    for (int i = 0; i < 1000 && received.bytes.empty(); ++i)
    {
        WriteAll(sender.Get(), {0xA5});
        PumpFor(10, received.bytes, 1);
    }
    PumpFor(200, received.bytes, SIZE_MAX);
    if (received.bytes.empty())
        return Fail("no byte arrives on the pair");
    received.bytes.clear();

    std::vector<unsigned char> burst(count);
    std::mt19937 random(1);
    for (auto& b : burst)
        b = static_cast<unsigned char>(random() & 0xFF);
    LARGE_INTEGER frequency, start;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    std::thread writer([&] { WriteAll(sender.Get(), burst); });
    PumpFor(120000, received.bytes, count);
    writer.join();
    if (received.bytes != burst)
        return Fail("the bytes did not arrive complete and in order");
    const double total = static_cast<double>(received.last.QuadPart - start.QuadPart) /
                         static_cast<double>(frequency.QuadPart);
    const double rate = static_cast<double>(count) / total;

    // Idle: nothing is sent; the window's thread waits for messages as the program's would.
    const double workerBefore = ThreadCpu(port.WorkerThread());
    const double processBefore = ProcessCpu();
    PumpFor(static_cast<DWORD>(idleSeconds) * 1000, received.bytes, SIZE_MAX);
    const double workerIdle = ThreadCpu(port.WorkerThread()) - workerBefore;
    const double processIdle = ProcessCpu() - processBefore;

    std::printf("delivered %zu bytes in %.3f s: %.0f bytes/s = %.1f x the meter's %.1f bytes/s\n",
                count, total, rate, rate / METER_BYTES_PER_SECOND, METER_BYTES_PER_SECOND);
    std::printf("idle %d s, no byte arriving: worker thread CPU %.3f s (%.2f %% of a core), "
                "whole process CPU %.3f s (%.2f %%)\n",
                idleSeconds, workerIdle, 100.0 * workerIdle / idleSeconds, processIdle,
                100.0 * processIdle / idleSeconds);
    return 0;
}
