#include "meter/SerialPort.h"

#include "meter/DcbFlags.h"

#include <cwchar>

namespace
{

constexpr DWORD PURGE_ALL = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
constexpr int NAME_BUFFER_SIZE = 50;
constexpr DWORD IDLE_RETRY_MS = 50;

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
    commEvent_.Reset();
    port_.Reset();
    shutdownEvent_.Reset();
}

bool SerialPort::Open(HWND owner, int portNumber, int baudRate, char parity, int dataBits,
                      int stopBits, DWORD eventMask)
{
    EndWorker();

    // An earlier worker has ended and finished its wait, so nothing refers to the old events.
    commEvent_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    shutdownEvent_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    overlapped_ = {};
    overlapped_.hEvent = commEvent_.Get();
    waitArray_[0] = shutdownEvent_.Get();
    waitArray_[1] = commEvent_.Get();

    owner_ = owner;
    portNumber_ = portNumber;
    baudRate_ = baudRate;
    eventMask_ = eventMask;

    CriticalSectionLock lock(portLock_);
    port_.Reset();
    if (!commEvent_ || !shutdownEvent_)
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
    if (worker_)
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
    for (;;)
    {
        bool waitPending = false;
        commEvents_ = 0;
        if (WaitCommEvent(port_.Get(), &commEvents_, &overlapped_))
        {
            // The event was already there: nothing to wait for unless bytes are queued.
            if (QueuedBytesUnlocked() == 0)
                continue;
        }
        else
        {
            // Normally ERROR_IO_PENDING: the wait goes on in the background. Under Wine a
            // pseudo-terminal ends every such wait within a millisecond or two without an event;
            // the mask test below still drains the queue, so the bytes flow there too.
            waitPending = GetLastError() == ERROR_IO_PENDING;
        }
        switch (WaitForMultipleObjects(2, waitArray_, FALSE, INFINITE))
        {
        case WAIT_OBJECT_0:
            if (waitPending)
                FinishPendingWait();
            return WORKER_EXIT_CODE;
        case WAIT_OBJECT_0 + 1:
        {
            DWORD mask = 0;
            bool delivered = false;
            if (GetCommMask(port_.Get(), &mask) && (mask & EV_RXCHAR) != 0)
                delivered = DrainReceiveQueue();
            // A wait that ends with no event and no byte comes from a driver that cannot wait for
            // characters: Wine ends every wait on a pseudo-terminal within a few milliseconds.
            // Waiting again at once would keep a core busy for as long as the program runs; a
            // short pause costs a byte at most that much delay. Windows never gets here.
            if (!delivered && (commEvents_ & eventMask_) == 0 &&
                WaitForSingleObject(shutdownEvent_.Get(), IDLE_RETRY_MS) == WAIT_OBJECT_0)
                return WORKER_EXIT_CODE;
            break;
        }
        default:
            break;
        }
    }
}

void SerialPort::FinishPendingWait()
{
    // When a wait ends the system writes its result into overlapped_ and commEvents_ and then
    // signals the comm event. Under Wine that is done by a helper thread of its own, which signals
    // the event by its handle value: were the worker to end first, the destructor could close the
    // event and that value could be reused for another port's event before the helper signals it.
    // A new mask ends a pending wait on Windows and under Wine alike; the signal is the wait's
    // last act, so once it is seen nothing more is written into this object.
    SetCommMask(port_.Get(), 0);
    WaitForSingleObject(commEvent_.Get(), INFINITE);
}

DWORD SerialPort::QueuedBytesUnlocked()
{
    COMSTAT status = {};
    DWORD errors = 0;
    if (!ClearCommError(port_.Get(), &errors, &status))
        return 0;
    return status.cbInQue;
}

DWORD SerialPort::QueuedBytes()
{
    CriticalSectionLock lock(portLock_);
    return QueuedBytesUnlocked();
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
            if (!ReadFile(port_.Get(), &byte, 1, &count, &overlapped_))
            {
                if (GetLastError() != ERROR_IO_PENDING ||
                    !GetOverlappedResult(port_.Get(), &overlapped_, &count, TRUE))
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
