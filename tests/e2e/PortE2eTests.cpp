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
#include <vector>

namespace
{

constexpr DWORD START_TIMEOUT_MS = 20000;
constexpr DWORD DIALOG_TIMEOUT_MS = 5000;
constexpr DWORD READING_TIMEOUT_MS = 8000;
constexpr wchar_t PORT_DIALOG[] = L"Port szeregowy";
constexpr wchar_t MESSAGE_BOX[] = L"QM7xx"; // the program's name is every message box's caption

constexpr DWORD CROSS_PROCESS_TIMEOUT_MS = 2000;

// The entries of the port dialog's list, read item by item from the other process.
std::vector<std::wstring> ListEntries(HWND dialog)
{
    const HWND list = GetDlgItem(dialog, IDC_PORT_LIST);
    DWORD_PTR count = 0;
    SendMessageTimeoutW(list, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, CROSS_PROCESS_TIMEOUT_MS,
                        &count);
    std::vector<std::wstring> entries;
    for (DWORD_PTR i = 0; i < count && count != static_cast<DWORD_PTR>(CB_ERR); ++i)
    {
        wchar_t text[300] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                            CROSS_PROCESS_TIMEOUT_MS, &length);
        entries.emplace_back(text);
    }
    return entries;
}

// The text of a message box: its one static with text (the icon's static has none).
std::wstring MessageOf(HWND box)
{
    std::wstring message;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        wchar_t cls[16] = {};
        GetClassNameW(child, cls, 16);
        if (std::wstring(cls) == L"Static" && !WindowText(child).empty())
            message = WindowText(child);
    }
    return message;
}

void Press(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

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
    std::cout << "port dialog shown " << GetTickCount64() - shown
              << " ms after the main window was seen\n";

    const std::vector<std::wstring> entries = ListEntries(dialog);
    const std::wstring programPort = L"COM" + std::to_wstring(PROGRAM_PORT);
    int programEntry = -1;
    std::string listed;
    for (size_t i = 0; i < entries.size(); ++i)
    {
        listed += WideToUtf8(entries[i]) + "; ";
        if (entries[i] == programPort)
            programEntry = static_cast<int>(i);
    }
    ASSERT_GE(programEntry, 0) << "listed: " << listed;
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_PORT_IN_USE)), L"Aktualnie \x017C"
                                                               L"aden port nie jest u\x017C"
                                                               L"ywany");

    // OK with nothing chosen is refused; the dialog stays.
    Press(dialog, IDOK);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = program.FindDialog(MESSAGE_BOX)) != nullptr; },
                          DIALOG_TIMEOUT_MS));
    EXPECT_EQ(MessageOf(box), L"Nie wybrano \x017C"
                              L"adnego portu.");
    Press(box, IDOK);
    ASSERT_TRUE(
        WaitUntil([&] { return program.FindDialog(MESSAGE_BOX) == nullptr; }, DIALOG_TIMEOUT_MS));
    EXPECT_EQ(program.FindDialog(PORT_DIALOG), dialog);

    SendMessageW(GetDlgItem(dialog, IDC_PORT_LIST), CB_SETCURSEL, programEntry, 0);
    Press(dialog, IDOK);
    EXPECT_TRUE(
        WaitUntil([&] { return program.FindDialog(PORT_DIALOG) == nullptr; }, DIALOG_TIMEOUT_MS));
    EXPECT_TRUE(WaitUntil(
        [&] { return program.StatusText() == L"QM-700 numer 321. Pomiar prawid\x0142owy."; },
        READING_TIMEOUT_MS))
        << WideToUtf8(program.StatusText());

    program.CloseBox();
    EXPECT_TRUE(program.WaitForExit(START_TIMEOUT_MS).has_value());
    EXPECT_EQ(settings_key::ReadDword(L"PORT_NR"), static_cast<DWORD>(PROGRAM_PORT));
    meter.Unplug();
    settings_key::Delete();
}

} // namespace
