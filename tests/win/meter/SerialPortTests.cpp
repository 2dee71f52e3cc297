#include "SerialTestSupport.h"

#include "meter/DcbFlags.h"
#include "meter/SerialPort.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <thread>

namespace
{

constexpr DWORD WAIT_MS = 20000;

std::unique_ptr<SerialPort> OpenMeterPort(HWND owner, int portNumber)
{
    auto port = std::make_unique<SerialPort>();
    if (!port->Open(owner, portNumber, 300, 'N', 7, 1, EV_RXCHAR))
        return nullptr;
    return port;
}

// A handle of our own to the port's worker, to read its exit code after the port is gone.
UniqueHandle DuplicateWorker(const SerialPort& port)
{
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), port.WorkerThread(), GetCurrentProcess(), &copy, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    return UniqueHandle(copy);
}

DWORD ExitCodeOf(const UniqueHandle& thread)
{
    DWORD code = 0;
    GetExitCodeThread(thread.Get(), &code);
    return code;
}

std::vector<unsigned char> RandomBytes(std::size_t count, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<unsigned char> bytes(count);
    for (auto& b : bytes)
        b = static_cast<unsigned char>(byte(generator));
    return bytes;
}

TEST(DcbFlags, MasksActOnTheNamedSwitches)
{
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    dcb.fBinary = 1;
    dcb.fOutX = 1;
    dcb.fInX = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = 1;

    ChangeDcbFlags(dcb, DCB_OPEN_CLEAR, DCB_OPEN_SET);
    EXPECT_EQ(dcb.fOutxCtsFlow, 1u);
    EXPECT_EQ(dcb.fOutxDsrFlow, 1u);
    EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_HANDSHAKE));
    EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_HANDSHAKE));
    EXPECT_EQ(dcb.fOutX, 0u);
    EXPECT_EQ(dcb.fInX, 0u);
    EXPECT_EQ(dcb.fBinary, 1u) << "flags outside the masks must stay as read";
    EXPECT_EQ(dcb.fAbortOnError, 1u);
    EXPECT_EQ(dcb.DCBlength, sizeof dcb);

    ChangeDcbFlags(dcb, DCB_CLOSE_CLEAR, 0);
    EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
    EXPECT_EQ(dcb.fOutxDsrFlow, 0u);
    EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_DISABLE));
    EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_DISABLE));
    EXPECT_EQ(GetDcbFlags(dcb), 0x4001u);
}

TEST(SerialPortOpen, AbsentPortFailsAndLeavesNothingBehind)
{
    ByteSink sink;
    auto failedOpen = [&]
    {
        SerialPort port;
        EXPECT_FALSE(port.Open(sink.Handle(), 77, 300, 'N', 7, 1, EV_RXCHAR));
        EXPECT_EQ(port.PortNumber(), 77);
        EXPECT_EQ(port.WorkerThread(), nullptr);
    };
    failedOpen();
    const DWORD handlesBefore = HandleCountOfThisProcess();
    for (int i = 0; i < 20; ++i)
        failedOpen();
    EXPECT_EQ(HandleCountOfThisProcess(), handlesBefore);
}

TEST(SerialPortOpen, DestructionWithoutOpenIsClean)
{
    const DWORD handlesBefore = HandleCountOfThisProcess();
    {
        SerialPort port;
        EXPECT_EQ(port.PortNumber(), 0);
    }
    EXPECT_EQ(HandleCountOfThisProcess(), handlesBefore);
}

TEST(SerialPortOpen, PortNumberAboveNineOpensAndDelivers)
{
    ByteSink sink;
    auto port = OpenMeterPort(sink.Handle(), HIGH_PAIR_RECEIVER);
    ASSERT_NE(port, nullptr) << "COM12 must open with the same device-name form as COM1..COM9";
    EXPECT_EQ(port->PortNumber(), HIGH_PAIR_RECEIVER);
    ASSERT_TRUE(port->StartWorker());

    PortWriter writer(HIGH_PAIR_SENDER);
    ASSERT_TRUE(SyncWithWorker(sink, writer));
    const std::vector<unsigned char> frame = {0x00, 0x01, 0x40, 0x43, 0x32, 0x0D};
    ASSERT_TRUE(writer.Write(frame));
    ASSERT_TRUE(sink.PumpUntil(frame.size(), WAIT_MS));
    EXPECT_EQ(sink.Bytes(), frame);
}

TEST(SerialPortOpen, SecondOpenOfAnOpenPortFails)
{
    if (RunningUnderWine())
        GTEST_SKIP() << "Wine does not apply share mode 0 to character devices: a second open of "
                        "a COM port succeeds there";
    ByteSink sink;
    auto first = OpenMeterPort(sink.Handle(), PAIR_RECEIVER);
    ASSERT_NE(first, nullptr);
    SerialPort second;
    EXPECT_FALSE(second.Open(sink.Handle(), PAIR_RECEIVER, 300, 'N', 7, 1, EV_RXCHAR));
}

TEST(SerialPortOpen, DestructionTurnsFlowControlOff)
{
    {
        // Leave the port with CTS flow control on, as another program might.
        UniqueHandle raw(CreateFileW(ComDeviceName(PAIR_RECEIVER).c_str(),
                                     GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                     nullptr));
        ASSERT_TRUE(raw.Valid());
        DCB dcb = {};
        dcb.DCBlength = sizeof dcb;
        ASSERT_TRUE(GetCommState(raw.Get(), &dcb));
        dcb.fOutxCtsFlow = 1;
        ASSERT_TRUE(SetCommState(raw.Get(), &dcb));
        DCB check = {};
        check.DCBlength = sizeof check;
        ASSERT_TRUE(GetCommState(raw.Get(), &check));
        ASSERT_EQ(check.fOutxCtsFlow, 1u) << "the port must show the flow control it was given";
    }
    {
        ByteSink sink;
        auto port = OpenMeterPort(sink.Handle(), PAIR_RECEIVER);
        ASSERT_NE(port, nullptr);
        ASSERT_TRUE(port->StartWorker());
    }
    UniqueHandle raw(CreateFileW(ComDeviceName(PAIR_RECEIVER).c_str(), GENERIC_READ | GENERIC_WRITE,
                                 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(raw.Valid());
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(raw.Get(), &dcb));
    EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
    EXPECT_EQ(dcb.fOutX, 0u);
    EXPECT_EQ(dcb.fInX, 0u);
    if (!RunningUnderWine())
    {
        // Wine cannot read the modem lines of a pseudo-terminal and reports them as enabled.
        EXPECT_EQ(dcb.fOutxDsrFlow, 0u);
        EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_DISABLE));
        EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_DISABLE));
    }
}

TEST(SerialPortDelivery, BurstSentWhileTheWindowIsBusyArrivesCompleteAndInOrder)
{
    ByteSink sink;
    auto port = OpenMeterPort(sink.Handle(), PAIR_RECEIVER);
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(port->StartWorker());

    const std::vector<unsigned char> burst = RandomBytes(12000, 7);
    PortWriter writer(PAIR_SENDER);
    ASSERT_TRUE(SyncWithWorker(sink, writer));
    bool written = false;
    std::thread sender([&] { written = writer.Write(burst); });
    // The window's thread is busy while the burst arrives; the worker waits in SendMessageW and
    // the driver's queue fills up.
    Sleep(500);
    const bool complete = sink.PumpUntil(burst.size(), 60000);
    sender.join();
    EXPECT_TRUE(written);
    ASSERT_TRUE(complete) << "received " << sink.Bytes().size() << " of " << burst.size();
    EXPECT_EQ(sink.Bytes(), burst);

    sink.PumpFor(100);
    EXPECT_EQ(sink.Bytes().size(), burst.size()) << "no byte may be delivered twice";
}

TEST(SerialPortDelivery, DestroyingWhileTheWorkerWaitsInSendMessageHandlesThePendingByte)
{
    ByteSink sink;
    auto port = OpenMeterPort(sink.Handle(), PAIR_RECEIVER);
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(port->StartWorker());
    UniqueHandle worker = DuplicateWorker(*port);
    ASSERT_TRUE(worker.Valid());

    PortWriter writer(PAIR_SENDER);
    ASSERT_TRUE(SyncWithWorker(sink, writer));
    ASSERT_TRUE(writer.Write({0x5A}));
    // Do not handle messages: wait until the worker is blocked sending the byte to us.
    const ULONGLONG deadline = GetTickCount64() + WAIT_MS;
    while ((HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) == 0 &&
           GetTickCount64() < deadline)
        Sleep(1);
    ASSERT_TRUE((HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0)
        << "the worker never sent the byte";
    ASSERT_TRUE(sink.Bytes().empty());

    bool destroying = false;
    bool handledWhileDestroying = false;
    sink.onByte = [&](unsigned char) { handledWhileDestroying = destroying; };
    destroying = true;
    port.reset();

    EXPECT_TRUE(handledWhileDestroying);
    EXPECT_EQ(sink.Bytes(), std::vector<unsigned char>{0x5A});
    EXPECT_EQ(WaitForSingleObject(worker.Get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeOf(worker), SerialPort::WORKER_EXIT_CODE);
}

TEST(SerialPortLifecycle, ReopeningEndsTheFirstWorkerAndListensOnTheNewPort)
{
    ByteSink sink;
    SerialPort port;
    ASSERT_TRUE(port.Open(sink.Handle(), PAIR_RECEIVER, 300, 'N', 7, 1, EV_RXCHAR));
    ASSERT_TRUE(port.StartWorker());
    EXPECT_FALSE(port.StartWorker()) << "a second worker on the same port";
    UniqueHandle firstWorker = DuplicateWorker(port);

    ASSERT_TRUE(port.Open(sink.Handle(), HIGH_PAIR_RECEIVER, 300, 'N', 7, 1, EV_RXCHAR));
    EXPECT_EQ(WaitForSingleObject(firstWorker.Get(), 0), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeOf(firstWorker), SerialPort::WORKER_EXIT_CODE);
    EXPECT_EQ(port.PortNumber(), HIGH_PAIR_RECEIVER);
    ASSERT_TRUE(port.StartWorker());

    PortWriter writer(HIGH_PAIR_SENDER);
    ASSERT_TRUE(SyncWithWorker(sink, writer));
    ASSERT_TRUE(writer.Write({'1', '2', '3'}));
    ASSERT_TRUE(sink.PumpUntil(3, WAIT_MS));
    EXPECT_EQ(sink.Bytes(), (std::vector<unsigned char>{'1', '2', '3'}));

    // Each reopening replaces the port handle, the events and the worker.
    const DWORD handlesBefore = HandleCountOfThisProcess();
    for (int i = 0; i < 20; ++i)
    {
        ASSERT_TRUE(port.Open(sink.Handle(), HIGH_PAIR_RECEIVER, 300, 'N', 7, 1, EV_RXCHAR));
        ASSERT_TRUE(port.StartWorker());
    }
    EXPECT_EQ(HandleCountOfThisProcess(), handlesBefore);
}

TEST(SerialPortLifecycle, RepeatedCyclesLeaveNoThreadOrHandleBehind)
{
    ByteSink sink;
    PortWriter writer(PAIR_SENDER);
    ASSERT_TRUE(writer.IsOpen());
    auto cycle = [&](int i)
    {
        auto port = OpenMeterPort(sink.Handle(), PAIR_RECEIVER);
        ASSERT_NE(port, nullptr) << "cycle " << i;
        ASSERT_TRUE(port->StartWorker()) << "cycle " << i;
        if (i % 10 == 0)
        {
            ASSERT_TRUE(SyncWithWorker(sink, writer)) << "cycle " << i;
            ASSERT_TRUE(writer.Write({static_cast<unsigned char>(i)}));
            ASSERT_TRUE(sink.PumpUntil(1, WAIT_MS)) << "cycle " << i;
            EXPECT_EQ(sink.Bytes(), std::vector<unsigned char>{static_cast<unsigned char>(i)});
        }
    };
    cycle(1); // whatever the system sets up on first use is not a leak
    const DWORD handlesBefore = HandleCountOfThisProcess();
    const int threadsBefore = ThreadCountOfThisProcess();

    for (int i = 0; i < 300; ++i)
        cycle(i);

    EXPECT_EQ(HandleCountOfThisProcess(), handlesBefore);
    // Wine's own helper threads of the comm waits may take a moment to go.
    int threadsAfter = ThreadCountOfThisProcess();
    for (int wait = 0; wait < 100 && threadsAfter > threadsBefore; ++wait)
    {
        Sleep(50);
        threadsAfter = ThreadCountOfThisProcess();
    }
    EXPECT_LE(threadsAfter, threadsBefore);
    EXPECT_GT(threadsAfter, 0);
}

} // namespace
