// A meter logged every second whose adapter is pulled out for about 10 s and plugged in again under
// the same name: the readings come back by themselves, and the log has a record for every second.

#include "res/resource.h"
#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/LogSeconds.h"
#include "tests/e2e/Meter.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"
#include "tests/e2e/VirtualPair.h"
#include "toolkit/TextConv.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

constexpr wchar_t READING[] = L"QM-700 numer 123. Pomiar prawidłowy. Rejestracja do pliku co "
                              L"00:00:01.";

TEST(ReconnectE2e, APulledAdapterComesBackByItselfAndNoSecondOfTheLogIsMissing)
{
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "the virtual serial pair is made under Wine only";
    const std::wstring log = WindowsPath(QM_E2E_RECONNECT_LOG);
    DeleteFileW(log.c_str());
    ASSERT_TRUE(Pair("start"));
    ASSERT_TRUE(settings_key::StartLogging(LOST_PROGRAM_PORT, log, false));

    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    Meter meter(SimulatorPath(), LOST_METER_PORT);
    ASSERT_TRUE(meter.Play(QM700_WM2)) << meter.Failure();
    EXPECT_TRUE(StatusBecomes(program, READING));

    ASSERT_TRUE(Pair("stop"));
    meter.Unplug();
    const ULONGLONG pulled = GetTickCount64();
    EXPECT_TRUE(StatusBecomes(program,
                              L"Brak łączności z przyrządem. Ponawiam połączenie z portem COM14. "
                              L"Rejestracja do pliku co 00:00:01.",
                              12000));
    WaitUntil([&] { return GetTickCount64() - pulled >= 10000; }, 11000);
    ASSERT_TRUE(Pair("start"));
    ASSERT_TRUE(meter.Play(QM700_WM2)) << meter.Failure();
    EXPECT_TRUE(StatusBecomes(program, READING, 8000)) << "no reading after the port came back";
    // A few records after the meter's return.
    WaitUntil(
        [&]
        {
            const std::string seen = LogSeconds(WideToUtf8(log), "456.7");
            const std::size_t back = seen.find("?v");
            return back != std::string::npos && seen.size() >= back + 4;
        },
        8000);
    program.Command(ID_APP_EXIT);
    EXPECT_TRUE(EndsNormally(program));

    // Values, then "???" while the meter was away, then values again, with every second there (a
    // 1 s timer and the clock's second may pass each other once: one second twice, or none).
    const std::string seen = LogSeconds(WideToUtf8(log), "456.7");
    const std::size_t lost = seen.find('?'), back = seen.find('v', lost);
    EXPECT_TRUE(lost != std::string::npos && back != std::string::npos && seen[0] == 'v' &&
                seen.find('x') == std::string::npos && seen.find('v', back) == back &&
                seen.find('?', back) == std::string::npos)
        << seen;
    EXPECT_LE(std::count(seen.begin(), seen.end(), '!'), 1) << seen;
    Pair("stop");
    settings_key::Delete();
}

} // namespace
