// The units dialog of the real program, filled in from outside; then the panel is compared with a
// reading panel of the probe's own showing the expected reading (the program's drawing code, font,
// colours and size), pixel for pixel.

#include "res/resource.h"
#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/Meter.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"
#include "tests/e2e/WindowShot.h"
#include "tests/win/support/MessagePump.h"
#include "ui/ReadingPanel.h"

#include <gtest/gtest.h>

namespace
{

// Pixels of panel 1 that differ from 12.5 kLx shown in `mode` with `k` by the probe's panel,
// right of the program's window, once they match or after 3 s; the program's window is saved.
int PanelDifferences(const ProgramUnderTest& program, int mode, double k, const wchar_t* name)
{
    const RECT r = program.ControlRect(IDC_PANEL1);
    CReadingPanel reference;
    reference.SubclassWindow(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"",
                                             WS_POPUP | WS_VISIBLE, 650, 50, r.right - r.left,
                                             r.bottom - r.top, nullptr, nullptr, nullptr, nullptr));
    reference.units = UnitState{UNIT_KLX, mode, 1, k};
    reference.RecreateReadingFont();
    reference.SetReading(12.5);
    int differences = -1;
    PumpUntil(
        [&]
        {
            const WindowShot expected(reference.m_hWnd), shot(program.MainWindow());
            differences = expected.Empty() || shot.Empty() ? -1 : 0;
            for (int y = 0; differences >= 0 && y < expected.Height(); ++y)
                for (int x = 0; x < expected.Width(); ++x)
                    differences += shot.At(r.left + x, r.top + y) != expected.At(x, y);
            return differences == 0;
        },
        3000);
    WindowShot(program.MainWindow()).Save(ScreenshotFolder(), name);
    DestroyWindow(reference.m_hWnd);
    return differences;
}

TEST(UnitsEndToEnd, KlxConvertedToWm2WithKTwoShowsTheValueDoubledAndSurvivesARestart)
{
    settings_key::Delete();
    ASSERT_TRUE(settings_key::WriteDword(L"PORT_NR", PROGRAM_PORT) &&
                settings_key::WriteDword(L"SHOW_ADV", 0));
    Meter meter(SimulatorPath(), METER_PORT);
    ASSERT_TRUE(meter.Play(
        {L"--model", L"700", L"--device", L"55", L"--unit", L"klx", L"--level", L"12.5"}))
        << meter.Failure();
    for (int run = 0; run < 2; ++run)
    {
        ProgramUnderTest program(ProgramPath());
        ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
        ASSERT_TRUE(StatusBecomes(program, L"QM-700 numer 55. Pomiar prawidłowy."));
        if (run == 0)
        {
            EXPECT_EQ(PanelDifferences(program, CONV_NONE, DEFAULT_K, L"units-before.bmp"), 0);
            program.Command(ID_VIEW_UNITS);
            HWND dialog = nullptr;
            ASSERT_TRUE(WaitUntil(
                [&] { return (dialog = program.FindDialog(L"Jednostka")) != nullptr; }, 5000));
            for (int id : {IDC_UNITS_DEVICE_UNITS, IDC_UNITS_TO_WM2})
                SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
            SendMessageW(GetDlgItem(dialog, IDC_UNITS_K), WM_SETTEXT, 0, LPARAM(L"2"));
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
        }
        EXPECT_EQ(PanelDifferences(program, CONV_TO_WM2, 2.0, run ? L"units-2.bmp" : L"units.bmp"),
                  0);
        program.Command(ID_APP_EXIT);
        ASSERT_TRUE(EndsNormally(program));
        EXPECT_EQ(settings_key::ReadDword(L"SHOW_UNIT"), 1u);
        EXPECT_EQ(settings_key::ReadDword(L"UNIT_K"), 2000u);
    }
    settings_key::Delete();
}

} // namespace
