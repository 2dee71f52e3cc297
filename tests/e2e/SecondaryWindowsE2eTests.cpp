// The advert window at start: with the advert enabled and no port stored, the program opens the
// advert window shortly after its main window, and the port dialog only once the advert is closed.

#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"

#include <gtest/gtest.h>

namespace
{

TEST(SecondaryWindowsE2e, TheAdvertOpensJustAfterTheMainWindowAndHoldsThePortDialogBack)
{
    settings_key::Delete();
    ASSERT_TRUE(settings_key::WriteDword(L"SHOW_ADV", 1));
    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    const ULONGLONG mainShown = GetTickCount64();
    HWND advert = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (advert = program.FindDialog(L"KORVEX - promocja QMX")) != nullptr; }, 5000,
        10));
    EXPECT_LT(GetTickCount64() - mainShown, 1000u) << "it is due 100 ms after the main window";

    // The port dialog's timer expires every 500 ms, and waits while the advert is open.
    const auto portDialog = [&] { return program.FindDialog(L"Port szeregowy"); };
    EXPECT_FALSE(WaitUntil([&] { return portDialog() != nullptr; }, 1600));
    Press(advert, IDOK); // "Zamknij"
    ASSERT_TRUE(WaitUntil([&] { return portDialog() != nullptr; }, 8000))
        << "no port dialog after the advert closed";

    Press(portDialog(), IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return portDialog() == nullptr; }, 5000));
    program.CloseBox();
    EXPECT_TRUE(EndsNormally(program));
    EXPECT_EQ(settings_key::ReadDword(L"SHOW_ADV"), 1u) << "closing the advert changes nothing";
    settings_key::Delete();
}

} // namespace
