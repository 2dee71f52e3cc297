// The advert window at start: the program with the advert enabled and no port stored opens the
// advert window shortly after its main window, and the port dialog only once the advert is closed.

#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"
#include "tests/e2e/WindowShot.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

namespace
{

constexpr DWORD START_TIMEOUT_MS = 20000;
constexpr wchar_t ADVERT_CAPTION[] = L"KORVEX - promocja QMX";
constexpr wchar_t PORT_CAPTION[] = L"Port szeregowy";

class SecondaryWindowsE2e : public ::testing::Test
{
protected:
    void SetUp() override { settings_key::Delete(); }
    void TearDown() override { settings_key::Delete(); }
};

TEST_F(SecondaryWindowsE2e, TheAdvertOpensJustAfterTheMainWindowAndHoldsThePortDialogBack)
{
    ASSERT_TRUE(settings_key::WriteDword(L"SHOW_ADV", 1));
    ASSERT_TRUE(settings_key::WriteDword(L"PORT_NR", 0));
    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    const ULONGLONG mainShown = GetTickCount64();

    HWND advert = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (advert = program.FindDialog(ADVERT_CAPTION)) != nullptr; },
                          5000, 10));
    const ULONGLONG delay = GetTickCount64() - mainShown;
    std::printf("advert window seen %llu ms after the main window\n", delay);
    EXPECT_LT(delay, 1000u) << "the advert is due 100 ms after the main window";

    // The port dialog's timer comes every 500 ms and waits while the advert is open.
    EXPECT_FALSE(WaitUntil([&] { return program.FindDialog(PORT_CAPTION) != nullptr; }, 1600))
        << "the port dialog came while the advert was open";
    const WindowShot shot(advert);
    EXPECT_FALSE(shot.Empty());
    shot.Save(ScreenshotFolder(), L"advert-at-start.bmp");

    PostMessageW(advert, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); // "Zamknij"
    const ULONGLONG closed = GetTickCount64();
    HWND portDialog = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (portDialog = program.FindDialog(PORT_CAPTION)) != nullptr; }, 3000))
        << "no port dialog after the advert closed";
    EXPECT_LT(GetTickCount64() - closed, 1500u) << "it follows at the next 500 ms expiry";
    EXPECT_EQ(program.FindDialog(ADVERT_CAPTION), nullptr);

    PostMessageW(portDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return program.FindDialog(PORT_CAPTION) == nullptr; }, 5000));
    program.CloseBox();
    const std::optional<DWORD> code = program.WaitForExit(10000);
    ASSERT_TRUE(code.has_value()) << "the program did not end after its close box";
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(settings_key::ReadDword(L"SHOW_ADV"), 1u) << "closing the advert changes no setting";
}

} // namespace
