// The port scan in the test's Wine prefix, the wait dialog and the port dialog, and the main
// window's port selection on top of them, with the virtual pairs COM8 <-> COM9 and COM12 <-> COM13
// in place. Wine's device database lists no serial port of its own; the tests write the devices
// they need into it.

#include "res/resource.h"
#include "tests/win/support/DialogDriver.h"
#include "tests/win/ui/MainWindowTest.h"
#include "toolkit/TextConv.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace
{

const std::wstring PORT_DIALOG = L"Port szeregowy";
const std::wstring TEST_DEVICES = L"SYSTEM\\CurrentControlSet\\Enum\\Root\\QM7XX_TEST_PORTS";

// Devices of the "Ports" class in the prefix's device database, as a port driver writes them.
struct PortDevices
{
    PortDevices(std::initializer_list<std::pair<std::wstring, std::wstring>> devices)
    {
        int index = 0;
        for (const auto& [name, description] : devices)
        {
            const std::wstring key = TEST_DEVICES + L"\\" + std::to_wstring(index++);
            Set(key, L"ClassGUID", L"{4D36E978-E325-11CE-BFC1-08002BE10318}");
            Set(key, L"DeviceDesc", description);
            Set(key + L"\\Device Parameters", L"PortName", name);
        }
    }
    ~PortDevices() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, TEST_DEVICES.c_str()); }
    static void Set(const std::wstring& key, const wchar_t* name, const std::wstring& text)
    {
        ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, text.c_str(),
                                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
};

// What the wait dialogs met saw of the main window; "Anuluj" on each, which must not shorten the
// scan.
HWND mainWindow = nullptr;
std::string mainDuringWait;

LRESULT CALLBACK WatchWaitDialog(int code, WPARAM wParam, LPARAM lParam)
{
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && GetDlgItem(window, IDC_WAIT_MESSAGE))
    {
        mainDuringWait += IsWindowEnabled(mainWindow) ? "enabled; " : "disabled; ";
        DialogDriver::Press(window, IDC_WAIT_CANCEL);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// What the port dialog shows: the port in use, the entries of its list, the chosen one.
std::string OnScreen(HWND dialog)
{
    const HWND list = GetDlgItem(dialog, IDC_PORT_LIST);
    std::string shown = WideToUtf8(DialogDriver::TextOf(GetDlgItem(dialog, IDC_PORT_IN_USE)));
    for (LRESULT i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i)
    {
        wchar_t text[300] = {};
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        shown += "; " + WideToUtf8(text);
    }
    return shown + "; chosen: " + WideToUtf8(DialogDriver::TextOf(list));
}

// The main window as far as its initialisation, without the advert window and the port dialog.
using PortDialog = MainWindowTest;

// The same, with COM13 stored and opened at start.
AppSettings WithPort13()
{
    AppSettings settings = MainWindowTest::Quiet();
    settings.portNr = 13;
    return settings;
}
struct PortInUse : MainWindowTest
{
    PortInUse() : MainWindowTest(WithPort13()) {}
};

TEST_F(PortInUse, ListsTheScanAndPreselectsThePortInUseWhileTheWaitDisablesTheMainWindow)
{
    const PortDevices devices{{L"COM13", L"Para (COM13)"},
                              {L"COM12", L"Para \u0142\u0105cze B"},
                              {L"COM3x", L"odd"},
                              {L"com14", L"odd"}};
    mainWindow = window.m_hWnd;
    const HHOOK hook = SetWindowsHookExW(WH_CBT, WatchWaitDialog, nullptr, GetCurrentThreadId());
    std::string seen;
    DialogDriver driver(
        [&](HWND dialog, const std::wstring& caption)
        {
            if (caption != PORT_DIALOG)
                return; // the wait dialog, which closes itself
            seen = OnScreen(dialog);
            DialogDriver::Press(dialog, IDCANCEL);
        },
        {window.m_hWnd});
    window.SelectPort();
    UnhookWindowsHookEx(hook);

    // Wine answers the probe for COM1..COM9, present or not; above COM9 only the device database
    // names a port.
    EXPECT_EQ(seen, "Aktualnie używany port: COM13; COM1; COM2; COM3; COM4; COM5; COM6; COM7; "
                    "COM8; COM9; COM12 (Para łącze B); COM13 (Para); chosen: COM13 (Para)");
    EXPECT_EQ(mainDuringWait, "disabled; ");
    EXPECT_TRUE(IsWindowEnabled(window.m_hWnd));
    EXPECT_EQ(window.Settings().portNr, 13) << "cancelled: nothing changes";
}

TEST_F(PortDialog, RefusesAnEmptyChoiceAndComesBackAfterAPortThatFailsToOpen)
{
    // A port the device database lists but that is not there (an adapter unplugged).
    const PortDevices devices{{L"COM77", L"Adapter USB"}};
    int shown = 0; // nothing is chosen the first time, then COM77, then COM9
    std::vector<std::string> seen;
    DialogDriver driver(
        [&](HWND dialog, const std::wstring& caption)
        {
            if (caption.empty())
                return; // the wait dialog
            const bool portDialog = caption == PORT_DIALOG;
            const HWND inUse = GetDlgItem(dialog, IDC_PORT_IN_USE);
            seen.push_back(WideToUtf8(portDialog ? DialogDriver::TextOf(inUse)
                                                 : DialogDriver::MessageOf(dialog)));
            if (portDialog && shown++ > 0)
                SendDlgItemMessageW(
                    dialog, IDC_PORT_LIST, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                    reinterpret_cast<LPARAM>(shown == 2 ? L"COM77 (Adapter USB)" : L"COM9"));
            DialogDriver::Press(dialog, IDOK);
        },
        {window.m_hWnd});
    window.SelectPort();

    const std::string none = "Aktualnie żaden port nie jest używany";
    EXPECT_EQ(seen, (std::vector<std::string>{none, "Nie wybrano żadnego portu.", none,
                                              "Nie można otworzyć portu COM77", none}));
    EXPECT_EQ(window.Settings().portNr, 9) << "the port opened";
}

} // namespace
