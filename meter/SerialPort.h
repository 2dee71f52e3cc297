#pragma once

// One COM port, opened for overlapped reading, and its comm worker: a thread that waits for
// received characters and hands each byte to the owner window with a synchronous
// SendMessageW(WM_METER_BYTE, byte, 0). The program only listens; nothing is sent to the meter.
//
// Threads: Open, StartWorker and destruction run on the thread that owns the owner window. The
// destructor keeps dispatching that window's messages until the worker has ended, because a worker
// blocked in SendMessageW can only finish when this thread handles the byte.

#include "toolkit/Handles.h"

#include <windows.h>

class SerialPort
{
public:
    // wParam = the received byte (0..255), lParam = 0.
    static constexpr UINT WM_METER_BYTE = WM_USER + 4;
    // The worker's exit code when it ends because the port object is being destroyed.
    static constexpr DWORD WORKER_EXIT_CODE = 100;

    SerialPort();
    virtual ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens "\\.\COM<portNumber>" exclusively and applies the line settings. Returns false only
    // when the device cannot be opened; settings the driver refuses are left as they were.
    bool Open(HWND owner, int portNumber, int baudRate, char parity, int dataBits, int stopBits,
              DWORD eventMask);
    // Starts the comm worker. False when the thread cannot be created, or when it already runs.
    bool StartWorker();
    int PortNumber() const { return portNumber_; }

    // The worker's thread handle while it exists (0 otherwise); lets tests watch it end.
    HANDLE WorkerThread() const { return worker_.Get(); }

private:
    static DWORD WINAPI CommWorker(LPVOID port);
    DWORD RunWorker();
    void FinishPendingWait();
    void DrainReceiveQueue();
    // Bytes waiting in the driver's receive queue; also clears any line error. The first takes
    // the port lock.
    DWORD QueuedBytes();
    DWORD QueuedBytesUnlocked();
    void EndWorker();

    int baudRate_ = 0;
    int portNumber_ = 0;
    UniqueHandle worker_;
    CriticalSection portLock_;
    UniqueHandle shutdownEvent_;
    UniqueHandle port_;
    HANDLE waitArray_[2] = {}; // shutdown event first: it wins when both are signalled
    UniqueHandle commEvent_;   // manual-reset; the hEvent of overlapped_
    OVERLAPPED overlapped_ = {};
    // Written by the system when an overlapped WaitCommEvent completes, after the call returned.
    DWORD commEvents_ = 0;
    COMMTIMEOUTS timeouts_ = {};
    DCB lineSettings_ = {};
    HWND owner_ = nullptr;
    DWORD eventMask_ = 0;
};
