#include "tests/win/support/HandleCount.h"
#include "SerialTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Plays a driver whose waits go wrong, on a real port: one that ends every wait at once with
// nothing to read, or one whose waits never end by themselves and that refuses the new mask at
// shutdown (a port that has gone).
struct FaultyDriverPort : SerialPort
{
    explicit FaultyDriverPort(bool endsAtOnce) : endsAtOnce_(endsAtOnce) {}
    ~FaultyDriverPort() override { EndWorker(); }
    static DWORD WINAPI Destroy(void* port)
    {
        delete static_cast<FaultyDriverPort*>(port);
        return 0;
    }
    BOOL StartCommWait(DWORD* events, OVERLAPPED*) override
    {
        *events = EV_RXCHAR;
        SetLastError(ERROR_IO_PENDING);
        return endsAtOnce_;
    }
    BOOL ChangeCommMask(DWORD) override { return FALSE; }
    const bool endsAtOnce_;
};

TEST(SerialPort, WorkerEndsWithinASecondWhateverTheDriverDoesWithItsWaits)
{
    for (const bool endsAtOnce : {true, false})
    {
        SCOPED_TRACE(endsAtOnce ? "every wait ends at once" : "waits never end, mask refused");
        auto port = std::make_unique<FaultyDriverPort>(endsAtOnce);
        ASSERT_TRUE(port->Open(nullptr, PAIR_RECEIVER, 300, 'N', 7, 1, EV_RXCHAR));
        ASSERT_TRUE(port->StartWorker());
        Sleep(200);
        // Destroyed on a thread of its own, left to it if it never ends: a worker that cannot
        // end shows as a failure here rather than as a hang.
        const UniqueHandle destroyer(
            CreateThread(nullptr, 0, &FaultyDriverPort::Destroy, port.release(), 0, nullptr));
        EXPECT_EQ(WaitForSingleObject(destroyer.Get(), 1500), WAIT_OBJECT_0);
    }
}

} // namespace
