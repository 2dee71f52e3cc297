// The first start without a stored port: the port dialog comes by itself once the main window
// shows, offers the ports the scan found, and the port chosen there brings the meter's readings.

#include "res/resource.h"
#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/Meter.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"
#include "toolkit/TextConv.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>

namespace
{

constexpr DWORD DIALOG_TIMEOUT_MS = 5000;
constexpr wchar_t PORT_DIALOG[] = L"Port szeregowy";
constexpr wchar_t MESSAGE_BOX[] = L"QM7xx"; // the program's name is every message box's caption
constexpr int MESSAGE_BOX_TEXT = 0xFFFF;    // the message's static in a message box

TEST(PortE2e, WithoutAStoredPortTheDialogFollowsTheWindowAndTheChosenPortBringsReadings)
{
    settings_key::Delete();
    ASSERT_TRUE(settings_key::WriteDword(L"SHOW_ADV", 0)); // no advert window in between
    Meter meter(SimulatorPath(), METER_PORT);
    ASSERT_TRUE(meter.Play({L"--model", L"700", L"--device", L"321", L"--unit", L"klx"}))
        << meter.Failure();
    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    const ULONGLONG shown = GetTickCount64();
    EXPECT_EQ(program.FindDialog(PORT_DIALOG), nullptr) << "the dialog waits for the window";
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = program.FindDialog(PORT_DIALOG)) != nullptr; },
                          DIALOG_TIMEOUT_MS, 20));
    std::cout << "port dialog " << GetTickCount64() - shown << " ms after the main window\n";

    // The list's items, read from the other process.
    const HWND list = GetDlgItem(dialog, IDC_PORT_LIST);
    const std::wstring programPort = L"COM" + std::to_wstring(PROGRAM_PORT);
    LRESULT programEntry = -1;
    std::string listed;
    for (LRESULT i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i)
    {
        wchar_t text[300] = {};
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        listed += WideToUtf8(text) + "; ";
        programEntry = text == programPort ? i : programEntry;
    }
    std::cout << "listed: " << listed << "\n";
    ASSERT_GE(programEntry, 0) << "listed: " << listed;

    Press(dialog, IDOK); // nothing chosen: refused, and the dialog stays
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = program.FindDialog(MESSAGE_BOX)) != nullptr; },
                          DIALOG_TIMEOUT_MS));
    EXPECT_EQ(WideToUtf8(WindowText(GetDlgItem(box, MESSAGE_BOX_TEXT))),
              "Nie wybrano żadnego portu.");
    Press(box, IDOK);
    EXPECT_TRUE(
        WaitUntil([&] { return program.FindDialog(MESSAGE_BOX) == nullptr; }, DIALOG_TIMEOUT_MS));
    EXPECT_EQ(program.FindDialog(PORT_DIALOG), dialog);

    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(programEntry), 0);
    Press(dialog, IDOK);
    const std::wstring reading = L"QM-700 numer 321. Pomiar prawidłowy.";
    EXPECT_TRUE(StatusBecomes(program, reading, DIALOG_TIMEOUT_MS));
    program.CloseBox();
    ASSERT_TRUE(EndsNormally(program));
    EXPECT_EQ(settings_key::ReadDword(L"PORT_NR"), static_cast<DWORD>(PROGRAM_PORT));

    // The next start opens the stored port by itself.
    ProgramUnderTest again(ProgramPath());
    ASSERT_TRUE(again.WaitForMainWindow(START_TIMEOUT_MS)) << again.Failure();
    EXPECT_TRUE(StatusBecomes(again, reading));
    EXPECT_EQ(again.FindDialog(PORT_DIALOG), nullptr);
    again.CloseBox();
    ASSERT_TRUE(EndsNormally(again));
    settings_key::Delete();
}

} // namespace
