// The simulator as a Windows program: run as a child process on COM9 and read back on COM8
// through the serial port engine. What its schedule holds is tested natively; here every byte of
// it must come out of the real port, no sooner than the schedule says.

#include "SerialTestSupport.h"

#include "tools/qm7xx-sim/FrameSchedule.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

// Runs the simulator with these options, handling this thread's messages until it ends; answers
// its exit code. Its path comes in the test's environment; a Unix path (the build under Wine) is
// reached through drive Z:.
DWORD RunSimulator(const std::vector<std::string>& args)
{
    wchar_t path[1024] = {};
    EXPECT_NE(GetEnvironmentVariableW(L"QM_SIM_EXE", path, 1000), 0u) << "QM_SIM_EXE is not set";
    std::wstring commandLine = std::wstring(L"\"") + (path[0] == L'/' ? L"Z:" : L"") + path + L"\"";
    std::replace(commandLine.begin(), commandLine.end(), L'/', L'\\');
    for (const std::string& a : args)
        commandLine += L" " + std::wstring(a.begin(), a.end());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return STILL_ACTIVE;
    const UniqueHandle process(info.hProcess), thread(info.hThread);
    PumpUntil([&] { return WaitForSingleObject(process.Get(), 0) != WAIT_TIMEOUT; }, 60000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.Get(), &code);
    return code;
}

TEST(Simulator, SendsItsScheduleByteForByteAtTheLinePace)
{
    const std::vector<std::string> args{
        "--port",        "COM9", "--model",       "701", "--interval",           "600",
        "--silence",     "1:1",  "--frames",      "2",   "--bad-checksum-every", "2",
        "--stray-every", "1",    "--stray-count", "8"};
    FrameSchedule schedule(ParseOptions(args).options);
    std::vector<unsigned char> expected;
    std::vector<long long> due; // when each byte goes out
    for (Transmission t; schedule.Next(t);)
        for (std::size_t i = 0; i < t.bytes.size(); ++i)
        {
            expected.push_back(t.bytes[i]);
            due.push_back(schedule.ByteTimeMs(t, i));
        }

    ByteSink sink;
    const auto port = StartedPort(sink.window, PAIR_RECEIVER);
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(SyncWithWorker(sink, OpenPlainPort(PAIR_SENDER)));
    EXPECT_EQ(RunSimulator(args), 0u);
    PumpUntil([&] { return sink.bytes.size() >= expected.size(); }, 5000);
    ASSERT_EQ(sink.bytes, expected);
    // The first byte may wait up to the worker's idle pause before it is handed over.
    for (std::size_t i = 0; i < due.size(); ++i)
        ASSERT_GE(sink.arrivals[i] - sink.arrivals[0] + 150,
                  static_cast<ULONGLONG>(due[i] - due[0]))
            << "byte " << i;

    EXPECT_EQ(RunSimulator({"--port", "COM9", "--model", "702"}), 2u);
    EXPECT_EQ(RunSimulator({"--port", "COM77", "--frames", "1"}), 1u);
}

} // namespace
