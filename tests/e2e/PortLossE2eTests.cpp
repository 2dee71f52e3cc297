// The program's serial port disappears under it, as a USB adapter pulled out: the virtual pair it
// listens on is taken away (its socat ended) while the meter plays. The program must keep
// answering, show the lost link as for a silent meter, and let the user choose a port, use the
// menu and end as always.

#include "res/resource.h"
#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/Meter.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

// A pair of this test's own, so that taking it away disturbs no other test.
constexpr int LOST_PROGRAM_PORT = 14;
constexpr int LOST_METER_PORT = 15;
const std::string LOST_PAIR_DIR = QM_E2E_LOST_PAIR_DIR;

bool PairRuns()
{
    return GetFileAttributesW(WindowsPath(LOST_PAIR_DIR + "/socat.pid").c_str()) !=
           INVALID_FILE_ATTRIBUTES;
}

// Runs scripts/serial-pair start|stop on the pair. Wine starts a Linux program named by a
// Windows path as a process of its own, without a handle to it: the pid file tells when it is
// done.
bool Pair(const char* action)
{
    std::wstring commandLine = WindowsPath(QM_E2E_SERIAL_PAIR) + L" ";
    for (const std::string& arg :
         {std::string(action), LOST_PAIR_DIR, std::string(QM_E2E_PREFIX),
          "com" + std::to_string(LOST_PROGRAM_PORT), "com" + std::to_string(LOST_METER_PORT)})
        commandLine += std::wstring(arg.begin(), arg.end()) + L" ";
    std::string failure;
    StartProcess(L"", commandLine, failure); // no handle: a Linux program
    if (!failure.empty())
        return false;
    const bool starting = std::string(action) == "start";
    const std::wstring programEnd = L"\\\\.\\COM" + std::to_wstring(LOST_PROGRAM_PORT);
    return WaitUntil(
        [&]
        {
            if (!starting)
                return !PairRuns();
            UniqueHandle port(CreateFileW(programEnd.c_str(), GENERIC_READ, 0, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
            return PairRuns() && port.Valid();
        },
        10000);
}

class PortLoss : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
            GTEST_SKIP() << "the virtual serial pair is made under Wine only";
        settings_key::Delete();
        ASSERT_TRUE(Pair("start")) << "no virtual serial pair in " << LOST_PAIR_DIR;
    }
    void TearDown() override
    {
        meter.Unplug();
        Pair("stop");
        settings_key::Delete();
    }

    Meter meter{SimulatorPath(), LOST_METER_PORT};
};

TEST_F(PortLoss, ProgramShowsTheLostLinkAndKeepsWorkingWhenItsPortDisappears)
{
    ASSERT_TRUE(settings_key::WriteDword(L"PORT_NR", LOST_PROGRAM_PORT));
    ASSERT_TRUE(settings_key::WriteDword(L"SHOW_ADV", 0));
    ASSERT_TRUE(meter.Play({L"--model", L"700", L"--device", L"123"})) << meter.Failure();
    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    const std::wstring reading = L"QM-700 numer 123. Pomiar prawidłowy.";
    ASSERT_TRUE(StatusBecomes(program, reading));

    ASSERT_TRUE(Pair("stop")) << "the pair was not taken away";
    const ULONGLONG lost = GetTickCount64();
    EXPECT_TRUE(StatusBecomes(program, L"Brak łączności z przyrządem.", 6000));
    EXPECT_LE(GetTickCount64() - lost, 6000u);

    program.Command(ID_VIEW_TOPMOST);
    EXPECT_TRUE(WaitUntil([&] { return program.IsTopmost(); }, 3000)) << "the menu does not work";
    program.Command(ID_PORT_SELECT);
    HWND portDialog = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (portDialog = program.FindDialog(L"Port szeregowy")); }, 5000))
        << "no port dialog";
    Press(portDialog, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !program.FindDialog(L"Port szeregowy"); }, 5000));

    program.Command(ID_APP_EXIT);
    EXPECT_EQ(program.WaitForExit(2000), std::optional<DWORD>(0)) << "not ended within 2 s";
}

} // namespace
