// The first start without a stored port: the port dialog comes by itself once the main window
// shows, offers the ports the scan found, and the port chosen there brings the meter's readings.
// Then the units dialog turns the kLx reading into W/m2 with K = 2; the panel is compared pixel for
// pixel with a reading panel of the probe's own (the program's drawing code, font, colours and
// size) showing the expected reading. The next start opens the chosen port and shows the chosen
// units by itself.

#include "res/resource.h"
#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/Meter.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"
#include "tests/e2e/WindowShot.h"
#include "tests/win/support/MessagePump.h"
#include "ui/ReadingPanel.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>

namespace
{

constexpr DWORD DIALOG_TIMEOUT_MS = 5000;
constexpr wchar_t PORT_DIALOG[] = L"Port szeregowy";
constexpr wchar_t READING[] = L"QM-700 numer 55. Pomiar prawidłowy.";

// Pixels of panel 1 that differ from 12.5 kLx shown in `mode` with `k` by the probe's panel,
// right of the program's window, once they match or after 3 s.
int PanelDifferences(const ProgramUnderTest& program, int mode, double k)
{
    const RECT r = program.ControlRect(IDC_PANEL1);
    CReadingPanel reference;
    reference.SubclassWindow(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"",
                                             WS_POPUP | WS_VISIBLE, 650, 50, r.right - r.left,
                                             r.bottom - r.top, nullptr, nullptr, nullptr, nullptr));
    reference.SetUnitCode(UNIT_KLX);
    reference.SetUnitOptions({mode, true, k});
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
    DestroyWindow(reference.m_hWnd);
    return differences;
}

TEST(FirstStartE2e, ThePortChosenInTheDialogAndTheUnitsChosenThenComeBackAtTheNextStart)
{
    settings_key::Delete();
    ASSERT_TRUE(settings_key::WriteDword(L"SHOW_ADV", 0)); // no advert window in between
    Meter meter(SimulatorPath(), METER_PORT);
    ASSERT_TRUE(meter.Play(
        {L"--model", L"700", L"--device", L"55", L"--unit", L"klx", L"--level", L"12.5"}))
        << meter.Failure();
    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    const ULONGLONG shown = GetTickCount64();
    EXPECT_EQ(program.FindDialog(PORT_DIALOG), nullptr) << "the dialog waits for the window";
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = program.FindDialog(PORT_DIALOG)) != nullptr; },
                          DIALOG_TIMEOUT_MS, 20));
    std::cout << "port dialog " << GetTickCount64() - shown << " ms after the main window\n";

    const std::wstring programPort = L"COM" + std::to_wstring(PROGRAM_PORT);
    ASSERT_NE(SendDlgItemMessageW(dialog, IDC_PORT_LIST, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(programPort.c_str())),
              CB_ERR)
        << "the program's port is not offered";
    Press(dialog, IDOK);
    ASSERT_TRUE(StatusBecomes(program, READING, DIALOG_TIMEOUT_MS));

    EXPECT_EQ(PanelDifferences(program, CONV_NONE, DEFAULT_K), 0);
    program.Command(ID_VIEW_UNITS);
    HWND units = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (units = program.FindDialog(L"Jednostka")) != nullptr; },
                          DIALOG_TIMEOUT_MS));
    for (int id : {IDC_UNITS_DEVICE_UNITS, IDC_UNITS_TO_WM2})
        SendMessageW(GetDlgItem(units, id), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(units, IDC_UNITS_K), WM_SETTEXT, 0, LPARAM(L"2"));
    Press(units, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(units); }, DIALOG_TIMEOUT_MS));
    EXPECT_EQ(PanelDifferences(program, CONV_TO_WM2, 2.0), 0);
    program.Command(ID_APP_EXIT);
    ASSERT_TRUE(EndsNormally(program));
    EXPECT_EQ(settings_key::ReadDword(L"PORT_NR"), static_cast<DWORD>(PROGRAM_PORT));

    ProgramUnderTest again(ProgramPath());
    ASSERT_TRUE(again.WaitForMainWindow(START_TIMEOUT_MS)) << again.Failure();
    EXPECT_TRUE(StatusBecomes(again, READING));
    EXPECT_EQ(again.FindDialog(PORT_DIALOG), nullptr);
    EXPECT_EQ(PanelDifferences(again, CONV_TO_WM2, 2.0), 0);
    again.CloseBox();
    ASSERT_TRUE(EndsNormally(again));
    settings_key::Delete();
}

} // namespace
