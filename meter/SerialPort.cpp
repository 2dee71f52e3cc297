#include "meter/SerialPort.h"

#include "meter/DcbFlags.h"

#include <cwchar>

namespace
{

constexpr DWORD PURGE_ALL = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
constexpr int NAME_BUFFER_SIZE = 50;
constexpr DWORD IDLE_RETRY_MS = 50;
// How long a pending wait is given to end at shutdown, once after the new mask and once after
// its cancellation.
constexpr DWORD PENDING_WAIT_LIMIT_MS = 500;

} // namespace

SerialPort::SerialPort()
{
    lineSettings_.DCBlength = sizeof lineSettings_;
}

SerialPort::~SerialPort()
{
    // Leave the handshake lines off for whatever uses the port next.
    DCB settings = {};
    settings.DCBlength = sizeof settings;
    if (port_.Valid() && GetCommState(port_.Get(), &settings))
    {
        ChangeDcbFlags(settings, DCB_CLOSE_CLEAR, 0);
        SetCommState(port_.Get(), &settings);
    }
    EndWorker();
    DropCommWait();
    port_.Reset();
    shutdownEvent_.Reset();
}

bool SerialPort::Open(HWND owner, int portNumber, int baudRate, char parity, int dataBits,
                      int stopBits, DWORD eventMask)
{
    EndWorker();

    // An earlier worker has ended and finished its wait, so nothing refers to the old events.
    DropCommWait();
    wait_ = std::make_unique<CommWait>();
    wait_->event.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    wait_->overlapped.hEvent = wait_->event.Get();
    shutdownEvent_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    waitArray_[0] = shutdownEvent_.Get();
    waitArray_[1] = wait_->event.Get();

    owner_ = owner;
    portNumber_ = portNumber;
    baudRate_ = baudRate;
    eventMask_ = eventMask;

    CriticalSectionLock lock(portLock_);
    port_.Reset();
    if (!wait_->event || !shutdownEvent_)
        return false;

    wchar_t deviceName[NAME_BUFFER_SIZE] = {};
    wchar_t lineDefinition[NAME_BUFFER_SIZE] = {};
    std::swprintf(deviceName, NAME_BUFFER_SIZE, L"\\\\.\\COM%d", portNumber);
    std::swprintf(lineDefinition, NAME_BUFFER_SIZE, L"baud=%d parity=%c data=%d stop=%d", baudRate,
                  static_cast<wchar_t>(static_cast<unsigned char>(parity)), dataBits, stopBits);

    port_.Reset(CreateFileW(deviceName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OVERLAPPED, nullptr));
    if (!port_)
        return false;

    // A read returns at once with whatever the receive queue holds. Each setting depends on the
    // one before; a driver that refuses one leaves the port as it was, and the bytes still flow.
    // (Wine accepts them all on a pseudo-terminal but cannot apply the handshake lines or 7 data
    // bits there.)
    timeouts_ = {};
    timeouts_.ReadIntervalTimeout = MAXDWORD;
    if (SetCommTimeouts(port_.Get(), &timeouts_) && SetCommMask(port_.Get(), eventMask_) &&
        GetCommState(port_.Get(), &lineSettings_))
    {
        ChangeDcbFlags(lineSettings_, DCB_OPEN_CLEAR, DCB_OPEN_SET);
        if (BuildCommDCBW(lineDefinition, &lineSettings_))
            SetCommState(port_.Get(), &lineSettings_);
    }
    PurgeComm(port_.Get(), PURGE_ALL);
    return true;
}

bool SerialPort::StartWorker()
{
    if (worker_ || !wait_)
        return false;
    worker_.Reset(CreateThread(nullptr, 0, &SerialPort::CommWorker, this, 0, nullptr));
    return worker_.Valid();
}

BOOL SerialPort::StartCommWait(DWORD* events, OVERLAPPED* overlapped)
{
    return WaitCommEvent(port_.Get(), events, overlapped);
}

BOOL SerialPort::ChangeCommMask(DWORD mask)
{
    return SetCommMask(port_.Get(), mask);
}

DWORD WINAPI SerialPort::CommWorker(LPVOID port)
{
    return static_cast<SerialPort*>(port)->RunWorker();
}

DWORD SerialPort::RunWorker()
{
    if (port_.Get() != nullptr)
        PurgeComm(port_.Get(), PURGE_ALL);
    // No round starts without a look at the shutdown event, and every round either hands a byte
    // over or pauses: a driver that ends every wait at once, or a port that has gone (a USB
    // adapter pulled out: every call on it fails), can neither keep the worker from ending nor
    // keep a core busy. Such a port stays silent, and the window's watchdog shows the lost link.
    while (WaitForSingleObject(shutdownEvent_.Get(), 0) != WAIT_OBJECT_0)
    {
        wait_->events = 0;
        if (!StartCommWait(&wait_->events, &wait_->overlapped) &&
            GetLastError() == ERROR_IO_PENDING &&
            WaitForMultipleObjects(2, waitArray_, FALSE, INFINITE) == WAIT_OBJECT_0)
        {
            waitAbandoned_ = !FinishPendingWait();
            break;
        }
        // The wait has ended, or it ended at once, or there was none to be had: look at the
        // queue in every case. Under Wine a pseudo-terminal ends every wait within a millisecond
        // or two without an event; the queue holds the bytes all the same.
        DWORD mask = 0;
        const bool delivered =
            GetCommMask(port_.Get(), &mask) && (mask & EV_RXCHAR) != 0 && DrainReceiveQueue();
        // A short pause costs a byte at most that much delay; waiting again at once could keep a
        // core busy for as long as the program runs.
        if (!delivered && WaitForSingleObject(shutdownEvent_.Get(), IDLE_RETRY_MS) == WAIT_OBJECT_0)
            break;
    }
    return WORKER_EXIT_CODE;
}

bool SerialPort::FinishPendingWait()
{
    // When a wait ends the system writes its result into wait_ and then signals its event. Under
    // Wine that is done by a helper thread of its own, which signals the event by its handle
    // value: were the worker to end first, the destructor could close the event and that value
    // could be reused for another port's event before the helper signals it. A new mask ends a
    // pending wait on Windows and under Wine alike; the signal is the wait's last act. The mask
    // of a port that has gone may be refused: then the wait is cancelled. Neither is waited for
    // without a bound, so a driver that ends neither cannot keep the worker from ending.
    const HANDLE ended = wait_->event.Get();
    if (ChangeCommMask(0) && WaitForSingleObject(ended, PENDING_WAIT_LIMIT_MS) == WAIT_OBJECT_0)
        return true;
    CancelIoEx(port_.Get(), &wait_->overlapped);
    return WaitForSingleObject(ended, PENDING_WAIT_LIMIT_MS) == WAIT_OBJECT_0;
}

void SerialPort::DropCommWait()
{
    // A wait that never ended may still write into its block and signal its event: both are left
    // to it, on purpose, rather than freed or reused under it.
    if (waitAbandoned_)
        static_cast<void>(wait_.release());
    waitAbandoned_ = false;
    wait_.reset();
}

DWORD SerialPort::QueuedBytes()
{
    CriticalSectionLock lock(portLock_);
    COMSTAT status = {};
    DWORD errors = 0;
    if (!ClearCommError(port_.Get(), &errors, &status))
        return 0;
    return status.cbInQue;
}

bool SerialPort::DrainReceiveQueue()
{
    bool delivered = false;
    if (QueuedBytes() == 0)
        return delivered;
    do
    {
        BYTE byte = 0;
        DWORD count = 0;
        {
            CriticalSectionLock lock(portLock_);
            if (!ReadFile(port_.Get(), &byte, 1, &count, &wait_->overlapped))
            {
                if (GetLastError() != ERROR_IO_PENDING ||
                    !GetOverlappedResult(port_.Get(), &wait_->overlapped, &count, TRUE))
                    return delivered;
            }
        }
        // Only a byte that was really read is delivered; an empty read ends the drain like a
        // failed one.
        if (count != 1)
            return delivered;
        // Never under the lock, so that the window's thread cannot be waiting for the lock while
        // the worker waits for that thread.
        SendMessageW(owner_, WM_METER_BYTE, byte, 0);
        delivered = true;
    } while (QueuedBytes() != 0);
    return delivered;
}

void SerialPort::EndWorker()
{
    if (!worker_)
        return;
    SetEvent(shutdownEvent_.Get());
    // The worker may be blocked in SendMessageW to the owner window, which only this thread can
    // answer: keep taking the window's messages until the worker has ended. PeekMessageW also
    // handles the worker's sent message; MsgWaitForMultipleObjects sleeps until there is
    // something to do instead of spinning.
    DWORD exitCode = 0;
    while (GetExitCodeThread(worker_.Get(), &exitCode) && exitCode == STILL_ACTIVE)
    {
        MSG msg;
        if (PeekMessageW(&msg, owner_, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            continue;
        }
        HANDLE thread = worker_.Get();
        MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT);
    }
    worker_.Reset();
}
