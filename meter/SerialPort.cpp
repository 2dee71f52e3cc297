#include "meter/SerialPort.h"

#include "meter/DcbFlags.h"
#include "meter/PortErrors.h"

#include <climits>
#include <cwchar>
#include <vector>

namespace
{

constexpr DWORD PURGE_ALL = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
constexpr int NAME_BUFFER_SIZE = 50;
constexpr DWORD IDLE_RETRY_MS = 50;
// How long a request is given to end once it should: a read of a byte the queue holds, a pending
// wait after the new mask at shutdown, and either of them after its cancellation.
constexpr DWORD REQUEST_END_LIMIT_MS = 500;
// How often a wait for a comm event that goes on is interrupted to make sure the port is still
// there: a driver may leave the wait of a device that has gone pending for ever.
constexpr DWORD PORT_CHECK_MS = 1000;
// From the shutdown signal to the worker's end. Its own waits end within twice the request limit;
// the rest is for the driver's calls.
constexpr DWORD WORKER_END_LIMIT_MS = 2000;

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
    // A worker stopped by force may have left the port lock taken: such an object is not used
    // again.
    if (!EndWorker())
        return false;

    // An earlier worker has ended and finished its requests, so nothing refers to the old events.
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

    // A read returns at once with whatever the receive queue holds. A port whose driver refuses a
    // setting is not kept: the meter's bytes would arrive garbled or not at all.
    timeouts_ = {};
    timeouts_.ReadIntervalTimeout = MAXDWORD;
    bool configured = SetCommTimeouts(port_.Get(), &timeouts_) &&
                      SetCommMask(port_.Get(), eventMask_) &&
                      GetCommState(port_.Get(), &lineSettings_);
    if (configured)
    {
        ChangeDcbFlags(lineSettings_, DCB_OPEN_CLEAR, DCB_OPEN_SET);
        configured = BuildCommDCBW(lineDefinition, &lineSettings_) &&
                     (SetCommState(port_.Get(), &lineSettings_) || OnlyWidthRefused());
    }
    if (!configured)
    {
        port_.Reset();
        return false;
    }
    PurgeComm(port_.Get(), PURGE_ALL);
    return true;
}

bool SerialPort::OnlyWidthRefused()
{
    // A pseudo-terminal under Wine carries 8-bit characters only, and its driver refuses 7 data
    // bits whenever nothing else changes with them: at every opening but the first. By then the
    // rate, parity and stop bits have been applied; the bytes cross such a port whole.
    DCB applied = {};
    applied.DCBlength = sizeof applied;
    return GetLastError() == ERROR_INVALID_PARAMETER && GetCommState(port_.Get(), &applied) &&
           applied.ByteSize == 8 && applied.BaudRate == lineSettings_.BaudRate &&
           applied.Parity == lineSettings_.Parity && applied.StopBits == lineSettings_.StopBits;
}

bool SerialPort::StartWorker()
{
    if (worker_ || !wait_)
        return false;
    worker_.Reset(CreateThread(nullptr, 0, &SerialPort::CommWorker, this, 0, nullptr));
    return worker_.Valid();
}

DWORD WINAPI SerialPort::CommWorker(LPVOID port)
{
    return static_cast<SerialPort*>(port)->RunWorker();
}

DWORD SerialPort::RunWorker()
{
    if (port_.Get() != nullptr)
        PurgeComm(port_.Get(), PURGE_ALL);
    deadError_ = 0;
    // No round starts without a look at the shutdown event, and every round either hands a byte
    // over or pauses: a driver that ends every wait at once cannot keep the worker from ending
    // nor keep a core busy. A port that has gone (every call on it fails) ends the worker.
    while (!Closing())
    {
        bool delivered = false;
        if (AwaitCommEvent() && deadError_ == 0)
        {
            // The wait has ended, or it ended at once, or there was none to be had: look at the
            // queue in every case. Under Wine a pseudo-terminal ends every wait within a
            // millisecond or two without an event; the queue holds the bytes all the same.
            DWORD mask = 0;
            if (!GetCommMask(port_.Get(), &mask))
                NoteFailure();
            delivered = (mask & EV_RXCHAR) != 0 && DrainReceiveQueue();
        }
        if (waitAbandoned_ && deadError_ == 0)
            deadError_ = ERROR_TIMEOUT; // the driver keeps a request the worker can never reuse
        if (deadError_ != 0)
        {
            if (Closing())
                break;
            if (owner_ != nullptr)
                PostMessageW(owner_, WM_METER_PORT_DEAD, static_cast<WPARAM>(portNumber_),
                             static_cast<LPARAM>(deadError_));
            return WORKER_PORT_DEAD_EXIT_CODE;
        }
        // A short pause costs a byte at most that much delay; waiting again at once could keep a
        // core busy for as long as the program runs.
        if (!delivered && WaitForSingleObject(shutdownEvent_.Get(), IDLE_RETRY_MS) == WAIT_OBJECT_0)
            break;
    }
    return WORKER_EXIT_CODE;
}

bool SerialPort::Closing() const
{
    return WaitForSingleObject(shutdownEvent_.Get(), 0) == WAIT_OBJECT_0;
}

void SerialPort::NoteFailure()
{
    const DWORD error = GetLastError();
    if (deadError_ == 0 && IsPortDeadError(error))
        deadError_ = error;
}

bool SerialPort::AwaitCommEvent()
{
    wait_->events = 0;
    if (StartCommWait(&wait_->events, &wait_->overlapped))
        return true;
    if (GetLastError() != ERROR_IO_PENDING)
    {
        NoteFailure();
        return true;
    }
    for (;;)
    {
        const DWORD woken = WaitForMultipleObjects(2, waitArray_, FALSE, PORT_CHECK_MS);
        if (woken == WAIT_OBJECT_0)
        {
            waitAbandoned_ = !FinishPendingWait();
            return false;
        }
        if (woken == WAIT_OBJECT_0 + 1)
        {
            // An ended wait's error tells of a device that has gone as a call's does; the usual
            // one, a wait cancelled by the driver, does not.
            DWORD unused = 0;
            if (!RequestResult(&wait_->overlapped, &unused))
                NoteFailure();
            return true;
        }
        // The wait goes on; the port must still be there.
        QueuedBytes();
        if (deadError_ != 0)
        {
            waitAbandoned_ = !FinishPendingWait();
            return false;
        }
    }
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
    if (ChangeCommMask(0) &&
        WaitForSingleObject(wait_->event.Get(), REQUEST_END_LIMIT_MS) == WAIT_OBJECT_0)
        return true;
    return CancelRequest();
}

bool SerialPort::CancelRequest()
{
    CancelIoEx(port_.Get(), &wait_->overlapped);
    return WaitForSingleObject(wait_->event.Get(), REQUEST_END_LIMIT_MS) == WAIT_OBJECT_0;
}

void SerialPort::DropCommWait()
{
    // A request that never ended may still write into its block and signal its event: both are
    // left to it, on purpose, rather than freed or reused under it.
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
    if (!ReadCommStatus(&errors, &status))
    {
        NoteFailure();
        return 0;
    }
    return status.cbInQue;
}

bool SerialPort::DrainReceiveQueue()
{
    bool delivered = false;
    BYTE byte = 0;
    while (QueuedBytes() != 0 && ReadByte(byte))
    {
        // Never under the lock, so that the window's thread cannot be waiting for the lock while
        // the worker waits for that thread.
        SendMessageW(owner_, WM_METER_BYTE, byte, 0);
        delivered = true;
    }
    return delivered;
}

bool SerialPort::ReadByte(BYTE& byte)
{
    CriticalSectionLock lock(portLock_);
    DWORD count = 0;
    if (!StartRead(&byte, &count, &wait_->overlapped))
    {
        if (GetLastError() != ERROR_IO_PENDING)
        {
            NoteFailure();
            return false;
        }
        // A read of a byte that the queue holds ends at once (reads never wait for more, see the
        // time-outs). One that does not is cancelled after a while, and left to the driver if
        // even that does not end it.
        if (WaitForMultipleObjects(2, waitArray_, FALSE, REQUEST_END_LIMIT_MS) !=
                WAIT_OBJECT_0 + 1 &&
            !CancelRequest())
        {
            waitAbandoned_ = true;
            return false;
        }
        if (!RequestResult(&wait_->overlapped, &count))
        {
            NoteFailure();
            return false;
        }
    }
    // Only a byte that was really read is delivered; an empty read ends the drain like a failed
    // one.
    return count == 1;
}

bool SerialPort::EndWorker()
{
    if (!worker_)
        return true;
    SetEvent(shutdownEvent_.Get());
    bool ended = AwaitWorker(WORKER_END_LIMIT_MS);
    if (!ended)
    {
        // The worker is stuck in a call into the driver: cancel whatever is pending on the port.
        CancelIoEx(port_.Get(), nullptr);
        ended = AwaitWorker(REQUEST_END_LIMIT_MS);
    }
    if (!ended)
    {
        // The last resort. Its requests may still write into their block.
        TerminateThread(worker_.Get(), WORKER_EXIT_CODE);
        WaitForSingleObject(worker_.Get(), REQUEST_END_LIMIT_MS);
        waitAbandoned_ = true;
    }
    worker_.Reset();
    DropDeadReports();
    return ended;
}

bool SerialPort::AwaitWorker(DWORD limitMs)
{
    // The worker may be blocked in SendMessageW to the owner window, which only this thread can
    // answer: keep taking the window's messages until the worker has ended. PeekMessageW also
    // handles the worker's sent message; MsgWaitForMultipleObjects sleeps until there is
    // something to do instead of spinning. A report of this port's death is left alone: its
    // handler would close the port that is closing.
    const ULONGLONG end = GetTickCount64() + limitMs;
    HANDLE thread = worker_.Get();
    for (;;)
    {
        MSG msg;
        while (PeekMessageW(&msg, owner_, 0, WM_METER_PORT_DEAD - 1, PM_REMOVE) ||
               PeekMessageW(&msg, owner_, WM_METER_PORT_DEAD + 1, UINT_MAX, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (WaitForSingleObject(thread, 0) == WAIT_OBJECT_0)
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return false;
        MsgWaitForMultipleObjects(1, &thread, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

void SerialPort::DropDeadReports()
{
    // A report the window has not taken yet is out of date once the port closes; left in the
    // queue it would be taken for the port opened next, perhaps on the same number. Reports of
    // other ports go back.
    if (owner_ == nullptr)
        return;
    std::vector<MSG> others;
    MSG msg;
    while (PeekMessageW(&msg, owner_, WM_METER_PORT_DEAD, WM_METER_PORT_DEAD, PM_REMOVE))
    {
        if (msg.wParam != static_cast<WPARAM>(portNumber_))
            others.push_back(msg);
    }
    for (const MSG& other : others)
        PostMessageW(other.hwnd, other.message, other.wParam, other.lParam);
}
