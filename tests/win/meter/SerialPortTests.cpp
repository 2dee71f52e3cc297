// The serial port engine on the virtual serial pairs COM8 <-> COM9 and COM12 <-> COM13 (made by
// scripts/serial-pair before the tests start), and with played drivers for what a pair cannot do.

#include "meter/SerialPort.h"
#include "tests/win/support/HandleCount.h"
#include "tests/win/support/MessagePump.h"
#include "toolkit/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace
{

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

// A port on COM8 opened with the meter's line settings, its worker started; null when either fails.
template <class Port = SerialPort, class... Args>
std::unique_ptr<Port> StartedPort(HWND owner, const Args&... args)
{
    auto port = std::make_unique<Port>(args...);
    if (!port->Open(owner, PAIR_RECEIVER, 300, 'N', 7, 1, EV_RXCHAR) || !port->StartWorker())
        return nullptr;
    return port;
}

// A port opened the plain way (blocking writes), as the other end of a pair or to look at its
// settings.
UniqueHandle OpenPlainPort(int portNumber)
{
    const std::wstring name = L"\\\\.\\COM" + std::to_wstring(portNumber);
    return UniqueHandle(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
}

bool Write(const UniqueHandle& port, const std::vector<unsigned char>& bytes)
{
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(bytes.size());
    return WriteFile(port.Get(), bytes.data(), size, &written, nullptr) && written == size;
}

// The worker empties the port's queues when it starts, so bytes written before that are lost.
// Writes a sync byte until one comes through, then a marker byte, and waits for the marker: then
// the worker listens, nothing is in transit, and the sink is emptied.
bool SyncWithWorker(ByteSink& sink, const UniqueHandle& writer)
{
    bool listening = false;
    for (int attempt = 0; attempt < 1000 && !listening; ++attempt)
        listening = Write(writer, {0xA5}) && PumpUntil([&] { return !sink.bytes.empty(); }, 10);
    listening = listening && Write(writer, {0xC3}) &&
                PumpUntil([&] { return sink.bytes.back() == 0xC3; }, 10000);
    sink.bytes.clear();
    return listening;
}

// Every cycle opens COM8, then reopens the same object on COM12 (the same device-name form as
// COM1..COM9), which must end the first worker, and destroys it. Every tenth makes sure that
// the worker on COM12 listens. COM12 starts with CTS and XON/XOFF flow control on, as another
// program might leave it; destruction turns them off.
TEST(SerialPort, OpeningReopeningAndClosingLeaveNoWorkerHandleOrFlowControlBehind)
{
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    {
        const UniqueHandle plain = OpenPlainPort(HIGH_PAIR_RECEIVER);
        ASSERT_TRUE(GetCommState(plain.Get(), &dcb));
        dcb.fOutxCtsFlow = dcb.fOutX = 1;
        ASSERT_TRUE(SetCommState(plain.Get(), &dcb));
    }
    ByteSink sink;
    const UniqueHandle writer = OpenPlainPort(HIGH_PAIR_SENDER);
    auto cycle = [&](int i)
    {
        SCOPED_TRACE(i);
        SerialPort neverOpened;
        SerialPort absent;
        EXPECT_FALSE(absent.Open(sink.window, 77, 300, 'N', 7, 1, EV_RXCHAR));
        const auto port = StartedPort(sink.window);
        ASSERT_NE(port, nullptr);
        EXPECT_FALSE(port->StartWorker()) << "a second worker on the same port";
        HANDLE first = nullptr; // our own handle to the first worker, to see how it ended
        DuplicateHandle(GetCurrentProcess(), port->WorkerThread(), GetCurrentProcess(), &first, 0,
                        FALSE, DUPLICATE_SAME_ACCESS);
        const UniqueHandle firstWorker(first);
        ASSERT_TRUE(port->Open(sink.window, HIGH_PAIR_RECEIVER, 300, 'N', 7, 1, EV_RXCHAR));
        DWORD code = 0;
        EXPECT_TRUE(GetExitCodeThread(firstWorker.Get(), &code) &&
                    code == SerialPort::WORKER_EXIT_CODE);
        ASSERT_TRUE(port->StartWorker());
        ASSERT_TRUE(i % 10 != 0 || SyncWithWorker(sink, writer)) << "COM12 delivers";
    };
    cycle(0); // whatever the system sets up on first use is not a leak
    const int handlesBefore = HandleCount();
    for (int i = 1; i <= 50; ++i)
        cycle(i);
    EXPECT_EQ(HandleCount(), handlesBefore);
    ASSERT_TRUE(GetCommState(OpenPlainPort(HIGH_PAIR_RECEIVER).Get(), &dcb));
    EXPECT_EQ(dcb.fOutxCtsFlow + dcb.fOutX + dcb.fInX, 0);
}

// Bytes that arrive while the window's thread is busy wait in the driver's queue (the worker
// waits in SendMessageW meanwhile) and are all delivered, in order, once it handles messages
// again; so is a byte the worker is sending when the port is destroyed.
TEST(SerialPort, BytesArriveCompleteAndInOrderEvenWhileThePortIsDestroyed)
{
    ByteSink sink;
    auto port = StartedPort(sink.window);
    ASSERT_NE(port, nullptr);
    const UniqueHandle writer = OpenPlainPort(PAIR_SENDER);
    ASSERT_TRUE(SyncWithWorker(sink, writer));
    std::vector<unsigned char> burst(6000); // more than a pseudo-terminal holds
    std::generate(burst.begin(), burst.end(), std::minstd_rand(7));
    std::future<bool> written =
        std::async(std::launch::async, [&] { return Write(writer, burst); });
    Sleep(500);
    PumpUntil([&] { return sink.bytes.size() >= burst.size(); }, 120000);
    ASSERT_EQ(sink.bytes, burst) << "received " << sink.bytes.size() << " of " << burst.size();

    ASSERT_TRUE(Write(writer, {0x5A}));
    // Handle no message until the worker is blocked sending the byte to this thread.
    auto sending = [] { return (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0; };
    for (const ULONGLONG end = GetTickCount64() + 20000; !sending() && GetTickCount64() < end;)
        Sleep(1);
    ASSERT_TRUE(sending()) << "the worker never sent the byte";
    port.reset(); // the only place where this thread handles messages
    burst.push_back(0x5A);
    EXPECT_EQ(sink.bytes, burst);
}

// Destroys the port on a thread of its own, left to it if it never ends: a closing that cannot
// end shows as a failure rather than as a hang.
bool DestroyedWithin(std::unique_ptr<SerialPort> port, DWORD limitMs)
{
    const UniqueHandle destroyer(CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD
        {
            delete static_cast<SerialPort*>(p);
            return 0;
        },
        port.release(), 0, nullptr));
    return WaitForSingleObject(destroyer.Get(), limitMs) == WAIT_OBJECT_0;
}

constexpr DWORD NEVER = MAXDWORD;

// The error each call of a played driver fails with; NEVER: it never ends (a wait not even at a
// new mask, a read not even when cancelled, ClearCommError never returns); 0: it works. A wait
// that works ends at once with a byte in the queue and a framing error reported with it; the read
// gives that byte.
struct PlayedDriver
{
    DWORD wait = 0;       // WaitCommEvent
    DWORD waitResult = 0; // the ended wait's result
    DWORD status = 0;     // ClearCommError
    DWORD read = 0;       // ReadFile
};

struct PlayedDriverPort : SerialPort
{
    explicit PlayedDriverPort(const PlayedDriver& driver) : driver_(driver) {}
    ~PlayedDriverPort() override { EndWorker(); }
    static bool Fails(DWORD error)
    {
        SetLastError(error);
        return error != 0;
    }
    // A request the driver takes, as a driver does: it has ended, or goes on.
    static BOOL Pending(OVERLAPPED* overlapped, bool ended)
    {
        ended ? SetEvent(overlapped->hEvent) : ResetEvent(overlapped->hEvent);
        SetLastError(ERROR_IO_PENDING);
        return FALSE;
    }
    BOOL StartCommWait(DWORD* events, OVERLAPPED* overlapped) override
    {
        queued_ = 1;
        *events = EV_RXCHAR;
        if (driver_.wait != NEVER && Fails(driver_.wait))
            return FALSE;
        return Pending(overlapped, driver_.wait != NEVER);
    }
    BOOL ChangeCommMask(DWORD) override { return driver_.wait != NEVER; }
    BOOL RequestResult(OVERLAPPED*, DWORD* count) override
    {
        *count = 0;
        return !Fails(driver_.waitResult);
    }
    BOOL ReadCommStatus(DWORD* errors, COMSTAT* status) override
    {
        stuck = driver_.status == NEVER;
        if (stuck)
            Sleep(INFINITE);
        *errors = CE_FRAME;
        status->cbInQue = queued_;
        return !Fails(driver_.status);
    }
    BOOL StartRead(BYTE* byte, DWORD* count, OVERLAPPED* overlapped) override
    {
        stuck = driver_.read == NEVER;
        if (stuck)
            return Pending(overlapped, false);
        if (Fails(driver_.read))
            return FALSE;
        *byte = 'x';
        *count = 1;
        queued_ = 0;
        return TRUE;
    }

    const PlayedDriver driver_;
    DWORD queued_ = 0;
    std::atomic<bool> stuck{false}; // in a call that never ends
};

// An error that means the device has gone is reported to the window once, and the worker ends.
// Others (reported 0 here: a wait cancelled by the driver, as under Wine; a refused wait; a
// framing error with every byte) leave the bytes flowing.
TEST(SerialPort, APortWhoseDeviceHasGoneIsReportedOnceAndItsWorkerEndsOtherErrorsAreTransient)
{
    const std::pair<PlayedDriver, DWORD> cases[] = {
        {{ERROR_ACCESS_DENIED}, ERROR_ACCESS_DENIED},
        {{0, ERROR_DEVICE_NOT_CONNECTED}, ERROR_DEVICE_NOT_CONNECTED},
        {{0, 0, ERROR_GEN_FAILURE}, ERROR_GEN_FAILURE},
        {{0, 0, 0, ERROR_BAD_COMMAND}, ERROR_BAD_COMMAND},
        {{0, 0, 0, NEVER}, ERROR_TIMEOUT},
        {{NEVER, 0, ERROR_DEVICE_NOT_CONNECTED}, ERROR_DEVICE_NOT_CONNECTED}, // found while waiting
        {{0, ERROR_OPERATION_ABORTED}, 0},
        {{ERROR_INVALID_PARAMETER}, 0},
    };
    for (const auto& [driver, reported] : cases)
    {
        SCOPED_TRACE(reported);
        ByteSink sink;
        const auto port = StartedPort<PlayedDriverPort>(sink.window, driver);
        ASSERT_NE(port, nullptr);
        const HANDLE worker = port->WorkerThread();
        const auto ended = [&] { return WaitForSingleObject(worker, 0) == WAIT_OBJECT_0; };
        EXPECT_TRUE(PumpUntil([&] { return reported ? ended() : sink.bytes.size() >= 5; }, 3000));
        PumpUntil([] { return true; }, 0); // what the worker posted before it ended
        DWORD code = 0;
        GetExitCodeThread(worker, &code);
        EXPECT_EQ(code, reported ? SerialPort::WORKER_PORT_DEAD_EXIT_CODE : STILL_ACTIVE);
        EXPECT_EQ(sink.deadReports,
                  (reported ? DeadReports{{PAIR_RECEIVER, reported}} : DeadReports{}));
    }
}

// A report still in the window's queue when the port closes would be taken for the port opened
// next on that number: it goes with the port, unhandled; another port's stays.
TEST(SerialPort, AReportTheWindowHasNotTakenWhenThePortClosesGoesWithIt)
{
    ByteSink sink;
    auto port = StartedPort<PlayedDriverPort>(sink.window, PlayedDriver{ERROR_ACCESS_DENIED});
    ASSERT_NE(port, nullptr);
    ASSERT_EQ(WaitForSingleObject(port->WorkerThread(), 3000), WAIT_OBJECT_0);
    PostMessageW(sink.window, SerialPort::WM_METER_PORT_DEAD, PAIR_SENDER, ERROR_GEN_FAILURE);
    port.reset();
    EXPECT_TRUE(sink.deadReports.empty()) << "handled while the port was closing";
    PumpUntil([] { return true; }, 0);
    EXPECT_EQ(sink.deadReports, (DeadReports{{PAIR_SENDER, ERROR_GEN_FAILURE}}));
}

// A read or a wait that the driver never ends, and a driver call that never returns (the worker
// is stopped by force after about 3 s), cannot keep the port from closing.
TEST(SerialPort, ClosingEndsWithinItsBoundEvenWhenADriverRequestOrCallNeverEnds)
{
    const std::pair<PlayedDriver, DWORD> cases[] = {
        {{0, 0, 0, NEVER}, 1500},
        {{0, 0, NEVER}, 3500},
        {{NEVER}, 1500},
    };
    for (const auto& [driver, limitMs] : cases)
    {
        SCOPED_TRACE(limitMs);
        auto port = StartedPort<PlayedDriverPort>(nullptr, driver);
        ASSERT_NE(port, nullptr);
        PumpUntil([&] { return port->stuck.load(); }, driver.wait == NEVER ? 200 : 3000);
        EXPECT_TRUE(DestroyedWithin(std::move(port), limitMs));
    }
}

// Opening fails, and lets the port go, when the driver refuses a line setting: here the parity
// letter (BuildCommDCB) or a rate that is not a standard one (Wine's SetCommState).
TEST(SerialPort, OpeningFailsAndLetsThePortGoWhenALineSettingIsRefused)
{
    for (const auto& [baudRate, parity] : {std::pair{300, 'Q'}, std::pair{12345, 'N'}})
    {
        SCOPED_TRACE(baudRate);
        SerialPort port;
        EXPECT_FALSE(port.Open(nullptr, PAIR_RECEIVER, baudRate, parity, 7, 1, EV_RXCHAR));
        EXPECT_TRUE(OpenPlainPort(PAIR_RECEIVER).Valid()) << "still held";
    }
}

} // namespace
