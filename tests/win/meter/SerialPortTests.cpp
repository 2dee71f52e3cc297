#include "tests/win/support/HandleCount.h"
#include "SerialTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <random>

namespace
{

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
        const auto port = StartedPort(sink.window, PAIR_RECEIVER);
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
    auto port = StartedPort(sink.window, PAIR_RECEIVER);
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
template <class Port> bool DestroyedWithin(std::unique_ptr<Port> port, DWORD limitMs)
{
    const UniqueHandle destroyer(CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD
        {
            delete static_cast<Port*>(p);
            return 0;
        },
        port.release(), 0, nullptr));
    return WaitForSingleObject(destroyer.Get(), limitMs) == WAIT_OBJECT_0;
}

// What a played driver's calls do: each fails with the error given (0: it works). A wait ends at
// once with a byte in the queue and a framing error reported with it; the read gives that byte.
struct PlayedDriver
{
    DWORD waitStart = 0; // WaitCommEvent
    DWORD waitEnd = 0;   // the ended wait's result
    DWORD status = 0;    // ClearCommError
    DWORD read = 0;      // ReadFile
    bool readNeverEnds = false;
    bool statusNeverReturns = false;
    bool waitNeverEnds = false; // until the mask changes
    bool maskRefused = false;   // as for a port that has gone: a pending wait is never ended
};

struct PlayedDriverPort : SerialPort
{
    explicit PlayedDriverPort(const PlayedDriver& driver) : driver_(driver) {}
    ~PlayedDriverPort() override { EndWorker(); }
    BOOL StartCommWait(DWORD* events, OVERLAPPED* overlapped) override
    {
        queued_ = 1;
        if (Fails(driver_.waitStart))
            return FALSE;
        *events = EV_RXCHAR;
        pendingWait_ = overlapped->hEvent;
        if (driver_.waitNeverEnds)
            ResetEvent(pendingWait_); // as a driver does when it takes a request
        else
            SetEvent(pendingWait_);
        SetLastError(ERROR_IO_PENDING);
        return FALSE;
    }
    BOOL ChangeCommMask(DWORD) override { return !driver_.maskRefused && SetEvent(pendingWait_); }
    BOOL RequestResult(OVERLAPPED*, DWORD* count) override
    {
        *count = 0;
        return !Fails(driver_.waitEnd);
    }
    BOOL ReadCommStatus(DWORD* errors, COMSTAT* status) override
    {
        stuck = driver_.statusNeverReturns;
        if (stuck)
            Sleep(INFINITE);
        *errors = CE_FRAME;
        status->cbInQue = queued_;
        return !Fails(driver_.status);
    }
    BOOL StartRead(BYTE* byte, DWORD* count, OVERLAPPED* overlapped) override
    {
        stuck = driver_.readNeverEnds;
        if (stuck)
        {
            ResetEvent(overlapped->hEvent); // as a driver does when it takes a request
            SetLastError(ERROR_IO_PENDING);
            return FALSE;
        }
        if (Fails(driver_.read))
            return FALSE;
        *byte = 'x';
        *count = 1;
        queued_ = 0;
        return TRUE;
    }
    static bool Fails(DWORD error)
    {
        SetLastError(error);
        return error != 0;
    }

    const PlayedDriver driver_;
    DWORD queued_ = 0;
    HANDLE pendingWait_ = nullptr;
    std::atomic<bool> stuck{false}; // in a call that never ends
};

std::unique_ptr<PlayedDriverPort> StartedPlayedPort(const PlayedDriver& driver, HWND owner)
{
    auto port = std::make_unique<PlayedDriverPort>(driver);
    if (!port->Open(owner, PAIR_RECEIVER, 300, 'N', 7, 1, EV_RXCHAR) || !port->StartWorker())
        return nullptr;
    return port;
}

bool WorkerEnds(const SerialPort& port)
{
    const HANDLE worker = port.WorkerThread();
    return PumpUntil([&] { return WaitForSingleObject(worker, 0) == WAIT_OBJECT_0; }, 3000) &&
           PumpUntil([] { return true; }, 0); // what the worker posted before it ended
}

TEST(SerialPort, APortWhoseDeviceHasGoneIsReportedToTheWindowOnceAndItsWorkerEnds)
{
    const struct
    {
        const char* name;
        PlayedDriver driver;
        DWORD reported;
    } cases[] = {
        {"WaitCommEvent refused", {ERROR_ACCESS_DENIED}, ERROR_ACCESS_DENIED},
        {"the wait ends in an error", {0, ERROR_DEVICE_NOT_CONNECTED}, ERROR_DEVICE_NOT_CONNECTED},
        {"ClearCommError fails", {0, 0, ERROR_GEN_FAILURE}, ERROR_GEN_FAILURE},
        {"ReadFile fails", {0, 0, 0, ERROR_BAD_COMMAND}, ERROR_BAD_COMMAND},
        {"a read never ends, not even cancelled", {0, 0, 0, 0, true}, ERROR_TIMEOUT},
        {"a wait goes on, ClearCommError fails",
         {0, 0, ERROR_DEVICE_NOT_CONNECTED, 0, false, false, true},
         ERROR_DEVICE_NOT_CONNECTED},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ByteSink sink;
        const auto port = StartedPlayedPort(c.driver, sink.window);
        ASSERT_NE(port, nullptr);
        ASSERT_TRUE(WorkerEnds(*port));
        DWORD code = 0;
        EXPECT_TRUE(GetExitCodeThread(port->WorkerThread(), &code) &&
                    code == SerialPort::WORKER_PORT_DEAD_EXIT_CODE);
        EXPECT_EQ(sink.deadReports, (DeadReports{{PAIR_RECEIVER, c.reported}}));
    }
}

// Errors that do not mean the device has gone (a wait cancelled by the driver, as under Wine; a
// refused wait; a framing error with every byte) leave the bytes flowing.
TEST(SerialPort, TransientErrorsLeaveThePortInUse)
{
    for (const PlayedDriver& driver :
         {PlayedDriver{0, ERROR_OPERATION_ABORTED}, PlayedDriver{ERROR_INVALID_PARAMETER}})
    {
        ByteSink sink;
        const auto port = StartedPlayedPort(driver, sink.window);
        ASSERT_NE(port, nullptr);
        EXPECT_TRUE(PumpUntil([&] { return sink.bytes.size() >= 5; }, 3000));
        EXPECT_EQ(WaitForSingleObject(port->WorkerThread(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
        EXPECT_TRUE(sink.deadReports.empty());
    }
}

// A report still in the window's queue when the port closes would be taken for the port opened
// next on that number: it goes with the port, unhandled; another port's stays.
TEST(SerialPort, AReportTheWindowHasNotTakenWhenThePortClosesGoesWithIt)
{
    ByteSink sink;
    auto port = StartedPlayedPort({ERROR_ACCESS_DENIED}, sink.window);
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
    const struct
    {
        const char* name;
        PlayedDriver driver;
        DWORD limitMs;
    } cases[] = {
        {"a read never ends", {0, 0, 0, 0, true}, 1500},
        {"ClearCommError never returns", {0, 0, 0, 0, false, true}, 3500},
        {"a wait never ends, the mask refused", {0, 0, 0, 0, false, false, true, true}, 1500},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        auto port = StartedPlayedPort(c.driver, nullptr);
        ASSERT_NE(port, nullptr);
        PumpUntil([&] { return port->stuck.load(); }, c.driver.waitNeverEnds ? 200 : 3000);
        EXPECT_TRUE(DestroyedWithin(std::move(port), c.limitMs));
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
