#pragma once

// Helpers for the tests on the virtual serial pairs COM8 <-> COM9 and COM12 <-> COM13 (made by
// scripts/serial-pair before the tests start).

#include "meter/SerialPort.h"
#include "tests/win/support/MessagePump.h"
#include "toolkit/Handles.h"

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

constexpr int PAIR_RECEIVER = 8;
constexpr int PAIR_SENDER = 9;
constexpr int HIGH_PAIR_RECEIVER = 12;
constexpr int HIGH_PAIR_SENDER = 13;

// A message-only window that collects the bytes the serial worker sends it, and its reports of a
// port that has gone (wParam, lParam).
using DeadReports = std::vector<std::pair<WPARAM, LPARAM>>;
struct ByteSink
{
    ByteSink() { SetWindowSubclass(window, Collect, 1, reinterpret_cast<DWORD_PTR>(this)); }
    ~ByteSink() { DestroyWindow(window); }
    static LRESULT CALLBACK Collect(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR self)
    {
        auto& sink = *reinterpret_cast<ByteSink*>(self);
        if (message == SerialPort::WM_METER_BYTE)
            sink.bytes.push_back(static_cast<unsigned char>(wParam));
        else if (message == SerialPort::WM_METER_PORT_DEAD)
            sink.deadReports.emplace_back(wParam, lParam);
        else
            return DefSubclassProc(window, message, wParam, lParam);
        return 0;
    }

    const HWND window =
        CreateWindowExW(0, L"Message", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    std::vector<unsigned char> bytes;
    DeadReports deadReports;
};

// A port opened with the meter's line settings, its worker started; null when either fails.
inline std::unique_ptr<SerialPort> StartedPort(HWND owner, int portNumber)
{
    auto port = std::make_unique<SerialPort>();
    if (!port->Open(owner, portNumber, 300, 'N', 7, 1, EV_RXCHAR) || !port->StartWorker())
        return nullptr;
    return port;
}

// A port opened the plain way (blocking writes), as the other end of a pair or to look at its
// settings.
inline UniqueHandle OpenPlainPort(int portNumber)
{
    const std::wstring name = L"\\\\.\\COM" + std::to_wstring(portNumber);
    return UniqueHandle(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
}

inline bool Write(const UniqueHandle& port, const std::vector<unsigned char>& bytes)
{
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(bytes.size());
    return WriteFile(port.Get(), bytes.data(), size, &written, nullptr) && written == size;
}

// The worker empties the port's queues when it starts, so bytes written before that are lost.
// Writes a sync byte until one comes through, then a marker byte, and waits for the marker: then
// the worker listens, nothing is in transit, and the sink is emptied.
inline bool SyncWithWorker(ByteSink& sink, const UniqueHandle& writer)
{
    bool listening = false;
    for (int attempt = 0; attempt < 1000 && !listening; ++attempt)
        listening = Write(writer, {0xA5}) && PumpUntil([&] { return !sink.bytes.empty(); }, 10);
    listening = listening && Write(writer, {0xC3}) &&
                PumpUntil([&] { return sink.bytes.back() == 0xC3; }, 10000);
    sink.bytes.clear();
    return listening;
}
