// A two-channel meter logged every second for about 20 s: the real program writes the log into
// the build tree, where check_recording_log.py reads it back as CSV.

#include "res/resource.h"
#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/Meter.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"
#include "toolkit/TextConv.h"

#include <gtest/gtest.h>

namespace
{

// A frame every second; after frame 6 the meter is silent for 9 s (the program gives up on it
// after 5), and from frame 10 on channel 1 reports W/m2 instead of kLx.
const std::vector<std::wstring> METER{
    L"--model",   L"701",  L"--device",    L"7",        L"--range1",       L"klx",
    L"--level",   L"12.5", L"--range2",    L"wm2-fine", L"--level2",       L"3.45",
    L"--silence", L"6:9",  L"--change-at", L"10",       L"--range1-after", L"wm2"};

TEST(RecordingE2e, TwoChannelMeterLoggedEverySecondWithSilenceAndAUnitChange)
{
    const std::wstring log = WindowsPath(QM_E2E_RECORDING_LOG);
    DeleteFileW(log.c_str());
    ASSERT_TRUE(settings_key::StartLogging(PROGRAM_PORT, log));

    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    Meter meter(SimulatorPath(), METER_PORT);
    ASSERT_TRUE(meter.Play(METER)) << meter.Failure();
    const auto statusStarts = [&](const std::string& start) {
        return WaitUntil([&] { return WideToUtf8(program.StatusText()).rfind(start, 0) == 0; },
                         15000);
    };
    EXPECT_TRUE(statusStarts("QM-701 numer 7. Pomiar prawidłowy."));
    EXPECT_NE(program.StatusText().find(L" Rejestracja do pliku co 00:00:01."), std::wstring::npos);
    EXPECT_TRUE(statusStarts("Brak łączności z przyrządem."));
    EXPECT_TRUE(statusStarts("QM-701"));
    Sleep(8000); // past the unit change, four frames after the silence
    program.Command(ID_APP_EXIT);
    EXPECT_TRUE(EndsNormally(program));
    settings_key::Delete();
}

} // namespace
