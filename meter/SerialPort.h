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

#include <memory>

class SerialPort
{
public:
    // wParam = the received byte (0..255), lParam = 0.
    static constexpr UINT WM_METER_BYTE = WM_USER + 4;
    // Posted once when the port's device is gone (its handle is dead); the worker has ended.
    static constexpr UINT WM_METER_PORT_DEAD = WM_USER + 5;
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

protected:
    // The two driver calls on which the worker's ending depends: WaitCommEvent, and the
    // SetCommMask that ends a pending wait at shutdown. Virtual so that a test can play the
    // drivers these calls go wrong with (one that ends every wait at once, one that refuses the
    // mask of a port that has gone), which a virtual serial pair cannot.
    virtual BOOL StartCommWait(DWORD* events, OVERLAPPED* overlapped);
    virtual BOOL ChangeCommMask(DWORD mask);
    // Ends the worker. A class that overrides the calls above ends it in its own destructor, so
    // that the worker never calls into a half-destroyed object.
    void EndWorker();

private:
    // What an overlapped WaitCommEvent or ReadFile writes into when it ends, after the call has
    // returned. It lives apart from the port object so that a wait the driver never ends can be
    // left to it (see FinishPendingWait).
    struct CommWait
    {
        OVERLAPPED overlapped = {};
        DWORD events = 0;
        UniqueHandle event; // manual-reset; the hEvent of overlapped
    };

    static DWORD WINAPI CommWorker(LPVOID port);
    DWORD RunWorker();
    // Answers whether the pending wait has certainly ended.
    bool FinishPendingWait();
    void DropCommWait();
    // Answers whether at least one byte reached the owner window.
    bool DrainReceiveQueue();
    // Bytes waiting in the driver's receive queue; also clears any line error. Takes the port
    // lock.
    DWORD QueuedBytes();

    int baudRate_ = 0;
    int portNumber_ = 0;
    UniqueHandle worker_;
    CriticalSection portLock_;
    UniqueHandle shutdownEvent_;
    UniqueHandle port_;
    HANDLE waitArray_[2] = {}; // shutdown event first: it wins when both are signalled
    std::unique_ptr<CommWait> wait_;
    // Set by the worker, read after it has ended: its last wait never ended.
    bool waitAbandoned_ = false;
    COMMTIMEOUTS timeouts_ = {};
    DCB lineSettings_ = {};
    HWND owner_ = nullptr;
    DWORD eventMask_ = 0;
};
