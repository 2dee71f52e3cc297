#pragma once

// Helpers for the tests that run on the virtual serial pairs: COM8 <-> COM9 and COM12 <-> COM13
// (made by scripts/serial-pair before the tests start).

#include "toolkit/Handles.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

constexpr int PAIR_RECEIVER = 8;
constexpr int PAIR_SENDER = 9;
constexpr int HIGH_PAIR_RECEIVER = 12;
constexpr int HIGH_PAIR_SENDER = 13;

// A message-only window that collects the bytes the serial worker sends it.
class ByteSink
{
public:
    ByteSink();
    ~ByteSink();
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;

    HWND Handle() const { return window_; }
    const std::vector<unsigned char>& Bytes() const { return bytes_; }
    void Clear() { bytes_.clear(); }
    // Called for each byte after it is stored.
    std::function<void(unsigned char)> onByte;

    // Handles this thread's messages until `count` bytes have arrived or `timeoutMs` has passed.
    bool PumpUntil(std::size_t count, DWORD timeoutMs);
    // Handles this thread's messages for `ms` milliseconds.
    void PumpFor(DWORD ms);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::vector<unsigned char> bytes_;
};

// The other end of a pair, opened the plain way (blocking writes).
class PortWriter
{
public:
    explicit PortWriter(int portNumber);
    bool IsOpen() const { return port_.Valid(); }
    bool Write(const std::vector<unsigned char>& bytes);

private:
    UniqueHandle port_;
};

// The worker empties the port's queues when it starts, so bytes written before that are lost.
// Writes a sync byte until one comes through, then a marker byte, and waits for the marker: then
// the worker listens, nothing is in transit, and the sink is emptied.
bool SyncWithWorker(ByteSink& sink, PortWriter& writer);

std::wstring ComDeviceName(int portNumber);
bool RunningUnderWine();
int ThreadCountOfThisProcess();
DWORD HandleCountOfThisProcess();
