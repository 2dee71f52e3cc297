// The simulator as a Windows program: run as a child process on COM9, read back on COM8 through
// the serial port engine, and compared with what its schedule says it sends.

#include "SerialTestSupport.h"

#include "meter/SerialPort.h"
#include "meter/FrameAssembler.h"
#include "tools/qm7xx-sim/FrameSchedule.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace
{

struct DecodedCandidate
{
    bool accepted = false;
    MeterReading reading; // after this candidate
};

// What the program's reception makes of the received bytes.
std::vector<DecodedCandidate> DecodeStream(const std::vector<std::uint8_t>& stream)
{
    FrameAssembler assembler;
    FrameDecoder decoder;
    std::vector<DecodedCandidate> candidates;
    for (const std::uint8_t byte : stream)
    {
        const FrameOutcome outcome = assembler.Feed(byte, decoder);
        if (outcome != FrameOutcome::NothingYet)
            candidates.push_back({outcome == FrameOutcome::GoodFrame, decoder.reading});
    }
    return candidates;
}

// The simulator's path from the test's environment; a Unix path (the build under Wine) is
// reached through drive Z:.
std::wstring SimulatorPath()
{
    wchar_t buffer[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"QM_SIM_EXE", buffer, 1024);
    if (length == 0 || length >= 1024)
        return {};
    std::wstring path(buffer, length);
    if (path[0] == L'/')
    {
        for (wchar_t& c : path)
            if (c == L'/')
                c = L'\\';
        path = L"Z:" + path;
    }
    return path;
}

class Simulator
{
public:
    bool Start(const std::vector<std::string>& args)
    {
        std::wstring commandLine = L"\"" + SimulatorPath() + L"\"";
        for (const std::string& a : args)
            commandLine += L" " + std::wstring(a.begin(), a.end());
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info))
            return false;
        process_.Reset(info.hProcess);
        CloseHandle(info.hThread);
        return true;
    }

    bool Running() const { return WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

    // Waits for the end without handling messages (for runs that send nothing).
    DWORD ExitCode(DWORD timeoutMs = 30000) const
    {
        WaitForSingleObject(process_.Get(), timeoutMs);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_.Get(), &code);
        return code;
    }

private:
    UniqueHandle process_;
};

std::vector<std::string> WithPort(std::vector<std::string> args)
{
    args.insert(args.begin(), {"--port", "COM" + std::to_string(PAIR_SENDER)});
    return args;
}

std::vector<std::uint8_t> ExpectedStream(const std::vector<std::string>& args)
{
    const ParseResult parsed = ParseOptions(args);
    EXPECT_TRUE(parsed.Ok()) << parsed.error;
    FrameSchedule schedule(parsed.options);
    std::vector<std::uint8_t> stream;
    Transmission t;
    while (schedule.Next(t))
        stream.insert(stream.end(), t.bytes.begin(), t.bytes.end());
    return stream;
}

class SimulatorOnThePair : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(SimulatorPath().empty()) << "QM_SIM_EXE names the simulator";
        port_ = std::make_unique<SerialPort>();
        ASSERT_TRUE(port_->Open(sink_.Handle(), PAIR_RECEIVER, 300, 'N', 7, 1, EV_RXCHAR));
        ASSERT_TRUE(port_->StartWorker());
        PortWriter writer(PAIR_SENDER); // closed again before the simulator opens the port
        ASSERT_TRUE(SyncWithWorker(sink_, writer));
    }

    // Runs the simulator to its end and returns what the program's side received.
    std::vector<std::uint8_t> RunSimulator(const std::vector<std::string>& args,
                                           std::size_t expectedBytes)
    {
        Simulator simulator;
        EXPECT_TRUE(simulator.Start(args));
        const ULONGLONG deadline = GetTickCount64() + 60000;
        while ((simulator.Running() || sink_.Bytes().size() < expectedBytes) &&
               GetTickCount64() < deadline)
            sink_.PumpUntil(expectedBytes, 50);
        EXPECT_EQ(simulator.ExitCode(0), 0u);
        return sink_.Bytes();
    }

    ByteSink sink_;
    std::unique_ptr<SerialPort> port_;
};

TEST_F(SimulatorOnThePair, TwoChannelRunWithEveryFaultArrivesAsScripted)
{
    const std::vector<std::string> args = WithPort({"--model",    "701",
                                                    "--device",   "4321",
                                                    "--fixed",    "--level",
                                                    "56.7",       "--range2",
                                                    "wm2-fine",   "--level2",
                                                    "1.25",       "--measurement-error",
                                                    "3-4",        "--measurement-error2",
                                                    "5",          "--calibration-error",
                                                    "6",          "--bad-checksum-every",
                                                    "8",          "--stray-every",
                                                    "10",         "--change-at",
                                                    "15",         "--channels-after",
                                                    "1",          "--fast",
                                                    "--interval", "20",
                                                    "--frames",   "24"});
    const std::vector<std::uint8_t> expected = ExpectedStream(args);
    const std::vector<std::uint8_t> received = RunSimulator(args, expected.size());
    ASSERT_EQ(received, expected);

    // Frames 11 and 21 follow a burst of stray bytes and are dropped by the receiver.
    std::vector<int> frames;
    for (int n = 1; n <= 24; ++n)
        if (n != 11 && n != 21)
            frames.push_back(n);
    const std::vector<DecodedCandidate> decoded = DecodeStream(received);
    ASSERT_EQ(decoded.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i)
    {
        const int n = frames[i];
        const DecodedCandidate& c = decoded[i];
        SCOPED_TRACE("frame " + std::to_string(n));
        ASSERT_EQ(c.accepted, n % 8 != 0) << "every 8th checksum is damaged";
        if (!c.accepted)
            continue;
        EXPECT_EQ(c.reading.frameLength, 24);
        EXPECT_EQ(c.reading.deviceNumber, 4321);
        EXPECT_EQ(c.reading.measurementError1, n == 3 || n == 4 ? 1 : 0);
        EXPECT_EQ(c.reading.measurementError2, n == 5 ? 2 : 0);
        EXPECT_EQ(c.reading.calibrationError, n == 6 ? 4 : 0);
        EXPECT_EQ(c.reading.secondChannel, n < 15 ? 8 : 0);
        EXPECT_EQ(c.reading.range1, 1);
        EXPECT_EQ(c.reading.range2, 3);
        EXPECT_NEAR(c.reading.value1, 56.7, 1e-9);
        EXPECT_NEAR(c.reading.value2, n < 15 ? 1.25 : 0.0, 1e-9);
    }
}

TEST_F(SimulatorOnThePair, PacedOneChannelRunKeepsTheLineSpeedAndTheSilence)
{
    const std::vector<std::string> args =
        WithPort({"--unit", "wm2", "--level", "12.3", "--fixed", "--interval", "600", "--silence",
                  "1:1", "--frames", "2", "--change-at", "2", "--unit-after", "klx"});
    std::vector<ULONGLONG> arrival;
    sink_.onByte = [&](unsigned char) { arrival.push_back(GetTickCount64()); };
    const std::vector<std::uint8_t> expected = ExpectedStream(args);
    const std::vector<std::uint8_t> received = RunSimulator(args, expected.size());
    ASSERT_EQ(received, expected);
    ASSERT_EQ(arrival.size(), 34u);

    // At 300 baud the 17 bytes of a frame take about half a second, and the second frame starts
    // 600 ms + 1 s of silence after the first.
    EXPECT_GE(arrival[16] - arrival[0], 16u * 30 - 40);
    EXPECT_GE(arrival[17] - arrival[0], 1600u - 40);

    const std::vector<DecodedCandidate> decoded = DecodeStream(received);
    ASSERT_EQ(decoded.size(), 2u);
    ASSERT_TRUE(decoded[0].accepted);
    ASSERT_TRUE(decoded[1].accepted);
    EXPECT_EQ(decoded[0].reading.unitKlx, 0);
    EXPECT_EQ(decoded[1].reading.unitKlx, 2);
    EXPECT_NEAR(decoded[1].reading.value1, 12.3, 1e-9);
    EXPECT_EQ(decoded[1].reading.deviceNumber, 1);
}

TEST(Simulator, BadOptionsAndAnAbsentPortEndWithTheirExitCodes)
{
    ASSERT_FALSE(SimulatorPath().empty()) << "QM_SIM_EXE names the simulator";
    Simulator badOption;
    ASSERT_TRUE(badOption.Start({"--port", "COM9", "--model", "702"}));
    EXPECT_EQ(badOption.ExitCode(), 2u);

    Simulator absent;
    ASSERT_TRUE(absent.Start({"--port", "COM77", "--frames", "1"}));
    EXPECT_EQ(absent.ExitCode(), 1u);

    Simulator help;
    ASSERT_TRUE(help.Start({"--help"}));
    EXPECT_EQ(help.ExitCode(), 0u);
}

} // namespace
