// The units dialog of the real program, filled in from outside. The panel is read by comparison:
// the probe draws the expected reading with a reading panel of its own (the program's drawing
// code, font, colours and size), and the program's panel must match it pixel for pixel.

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

// 12.5 kLx shown with this conversion, in a window of the probe's right of the program's window.
class ReferencePanel : public CReadingPanel
{
public:
    ReferencePanel(const RECT& size, int mode, double k)
    {
        SubclassWindow(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 650,
                                       50, size.right - size.left, size.bottom - size.top, nullptr,
                                       nullptr, nullptr, nullptr));
        units = UnitState{UNIT_KLX, mode, 1, k};
        RecreateReadingFont();
        SetReading(12.5);
    }
    ~ReferencePanel() override { DestroyWindow(m_hWnd); }
};

// Waits until panel 1 matches the reference, then saves the program's window as `name`.
::testing::AssertionResult PanelShows(const ProgramUnderTest& program, int mode, double k,
                                      const wchar_t* name)
{
    const RECT panel = program.ControlRect(IDC_PANEL1);
    const ReferencePanel reference(panel, mode, k);
    int differences = -1;
    PumpUntil(
        [&]
        {
            const WindowShot expected(reference.m_hWnd), shot(program.MainWindow());
            differences = expected.Empty() || shot.Empty() ? -1 : 0;
            for (int y = 0; differences >= 0 && y < expected.Height(); ++y)
                for (int x = 0; x < expected.Width(); ++x)
                    differences += shot.At(panel.left + x, panel.top + y) != expected.At(x, y);
            return differences == 0;
        },
        3000);
    WindowShot(program.MainWindow()).Save(ScreenshotFolder(), name);
    if (differences == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differences << " pixels of panel 1 differ";
}

TEST(UnitsEndToEnd, KlxConvertedToWm2WithKTwoShowsTheValueDoubledAndSurvivesARestart)
{
    settings_key::Delete();
    ASSERT_TRUE(settings_key::WriteDword(L"PORT_NR", PROGRAM_PORT));
    ASSERT_TRUE(settings_key::WriteDword(L"SHOW_ADV", 0));
    Meter meter(SimulatorPath(), METER_PORT);
    ASSERT_TRUE(meter.Play(
        {L"--model", L"700", L"--device", L"55", L"--unit", L"klx", L"--level", L"12.5"}))
        << meter.Failure();
    for (int run = 0; run < 2; ++run)
    {
        ProgramUnderTest program(ProgramPath());
        ASSERT_TRUE(program.WaitForMainWindow(20000)) << program.Failure();
        ASSERT_TRUE(WaitUntil(
            [&] { return program.StatusText() == L"QM-700 numer 55. Pomiar prawidłowy."; }, 8000));
        if (run == 0)
        {
            EXPECT_TRUE(PanelShows(program, CONV_NONE, DEFAULT_K, L"units-before.bmp"));
            program.Command(ID_VIEW_UNITS);
            HWND dialog = nullptr;
            ASSERT_TRUE(WaitUntil(
                [&] { return (dialog = program.FindDialog(L"Jednostka")) != nullptr; }, 5000));
            DWORD_PTR result = 0;
            for (int id : {IDC_UNITS_DEVICE_UNITS, IDC_UNITS_TO_WM2})
                SendMessageTimeoutW(GetDlgItem(dialog, id), BM_CLICK, 0, 0, 0, 2000, &result);
            SendMessageTimeoutW(GetDlgItem(dialog, IDC_UNITS_K), WM_SETTEXT, 0,
                                reinterpret_cast<LPARAM>(L"2"), 0, 2000, &result);
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
        }
        EXPECT_TRUE(
            PanelShows(program, CONV_TO_WM2, 2.0, run ? L"units-restarted.bmp" : L"units.bmp"));
        program.Command(ID_APP_EXIT);
        ASSERT_EQ(program.WaitForExit(10000), 0u);
        EXPECT_EQ(settings_key::ReadDword(L"SHOW_UNIT"), 1u);
        EXPECT_EQ(settings_key::ReadDword(L"UNIT_K"), 2000u);
    }
    settings_key::Delete();
}

} // namespace
