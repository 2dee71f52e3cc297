#pragma once

// One COM port, opened for overlapped reading, and its comm worker: a thread that waits for
// received characters and hands each byte to the owner window with a synchronous
// SendMessageW(WM_METER_BYTE, byte, 0). The program only listens; nothing is sent to the meter.
//
// Threads: Open, StartWorker and destruction run on the thread that owns the owner window. The
// destructor keeps dispatching that window's messages until the worker has ended, because a worker
// blocked in SendMessageW can only finish when this thread handles the byte. Every wait of the
// worker and of closing has a bound, so that a driver whose requests never end cannot hang the
// program: closing takes at most about three seconds, normally a few milliseconds.

#include "toolkit/Handles.h"

#include <windows.h>

#include <memory>

class SerialPort
{
public:
    // wParam = the received byte (0..255), lParam = 0.
    static constexpr UINT WM_METER_BYTE = WM_USER + 4;
    // Posted to the owner window, once, when a call on the port fails with an error that means
    // the device has gone (IsPortDeadError), or a request on it never ends; the worker then ends
    // and delivers nothing more, and only a port object opened anew can bring the meter back.
    // wParam = the port number, lParam = the error (ERROR_TIMEOUT for a request that never
    // ended). Not posted while the port object closes; a report the window has not yet taken is
    // removed from its queue when the port object closes, and never dispatched by the closing.
    static constexpr UINT WM_METER_PORT_DEAD = WM_USER + 5;
    // The worker's exit codes: it ended because the port object is closing, or because the port
    // has gone.
    static constexpr DWORD WORKER_EXIT_CODE = 100;
    static constexpr DWORD WORKER_PORT_DEAD_EXIT_CODE = 101;

    SerialPort();
    virtual ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens "\\.\COM<portNumber>" exclusively and applies the line settings. Returns false, with
    // the port closed again, when the device cannot be opened or its driver refuses any of the
    // settings; a port that carries 8-bit characters only (a pseudo-terminal under Wine) is
    // kept with 8 data bits.
    bool Open(HWND owner, int portNumber, int baudRate, char parity, int dataBits, int stopBits,
              DWORD eventMask);
    // Starts the comm worker. False when the thread cannot be created, or when it already runs.
    bool StartWorker();
    int PortNumber() const { return portNumber_; }

    // The worker's thread handle while it exists (0 otherwise); lets tests watch it end.
    HANDLE WorkerThread() const { return worker_.Get(); }

protected:
    // The driver calls of the worker: WaitCommEvent, the SetCommMask that ends a pending wait at
    // shutdown, ClearCommError, ReadFile of one byte, and GetOverlappedResult without waiting.
    // Virtual so that a test can play the drivers these calls go wrong with (one that ends every
    // wait at once, one whose requests never end, one whose device has gone), which a virtual
    // serial pair cannot.
    virtual BOOL StartCommWait(DWORD* events, OVERLAPPED* overlapped)
    {
        return WaitCommEvent(port_.Get(), events, overlapped);
    }
    virtual BOOL ChangeCommMask(DWORD mask) { return SetCommMask(port_.Get(), mask); }
    virtual BOOL ReadCommStatus(DWORD* errors, COMSTAT* status)
    {
        return ClearCommError(port_.Get(), errors, status);
    }
    virtual BOOL StartRead(BYTE* byte, DWORD* count, OVERLAPPED* overlapped)
    {
        return ReadFile(port_.Get(), byte, 1, count, overlapped);
    }
    virtual BOOL RequestResult(OVERLAPPED* overlapped, DWORD* count)
    {
        return GetOverlappedResult(port_.Get(), overlapped, count, FALSE);
    }
    // Ends the worker. A class that overrides the calls above ends it in its own destructor, so
    // that the worker never calls into a half-destroyed object. Answers false when the worker had
    // to be stopped by force (a driver call that never returned).
    bool EndWorker();

private:
    // What an overlapped WaitCommEvent or ReadFile writes into when it ends, after the call has
    // returned. It lives apart from the port object so that a request the driver never ends can
    // be left to it (see FinishPendingWait).
    struct CommWait
    {
        OVERLAPPED overlapped = {};
        DWORD events = 0;
        UniqueHandle event; // manual-reset; the hEvent of overlapped
    };

    // After a refused SetCommState: answers whether the port has every setting asked for but a
    // character width it cannot change.
    bool OnlyWidthRefused();
    static DWORD WINAPI CommWorker(LPVOID port);
    DWORD RunWorker();
    // Answers false when the worker is to end.
    bool AwaitCommEvent();
    // Answers whether the pending wait has certainly ended.
    bool FinishPendingWait();
    bool CancelRequest();
    void DropCommWait();
    // Answers whether at least one byte reached the owner window.
    bool DrainReceiveQueue();
    // Answers whether a byte was read into `byte`.
    bool ReadByte(BYTE& byte);
    // Bytes waiting in the driver's receive queue; also clears any line error. Takes the port
    // lock.
    DWORD QueuedBytes();
    void NoteFailure();
    bool Closing() const;
    bool AwaitWorker(DWORD limitMs);
    void DropDeadReports();

    int baudRate_ = 0;
    int portNumber_ = 0;
    UniqueHandle worker_;
    CriticalSection portLock_;
    UniqueHandle shutdownEvent_;
    UniqueHandle port_;
    HANDLE waitArray_[2] = {}; // shutdown event first: it wins when both are signalled
    std::unique_ptr<CommWait> wait_;
    // Set by the worker, read after it has ended: its last request never ended.
    bool waitAbandoned_ = false;
    // The worker's: the first error that showed the port has gone, 0 while none has.
    DWORD deadError_ = 0;
    COMMTIMEOUTS timeouts_ = {};
    DCB lineSettings_ = {};
    HWND owner_ = nullptr;
    DWORD eventMask_ = 0;
};
