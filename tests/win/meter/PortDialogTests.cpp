// The port scan in the test's Wine prefix, the wait dialog and the port dialog, and the main
// window's port selection on top of them, with the virtual pairs COM8 <-> COM9 and COM12 <-> COM13
// in place. Wine's device database lists no serial port of its own; the tests write the devices
// they need into it.

#include "meter/PortList.h"
#include "meter/PortScan.h"
#include "res/resource.h"
#include "tests/win/support/DialogDriver.h"
#include "toolkit/TextConv.h"
#include "ui/MainDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace
{

const std::wstring PORT_DIALOG = L"Port szeregowy";
const std::wstring TEST_DEVICES = L"SYSTEM\\CurrentControlSet\\Enum\\Root\\QM7XX_TEST_PORTS";

// Devices of the "Ports" class in the prefix's device database, as a port driver writes them.
class PortDevices
{
public:
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

private:
    static void Set(const std::wstring& key, const wchar_t* name, const std::wstring& text)
    {
        ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, text.c_str(),
                                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
};

std::string Listed(const std::vector<std::string>& entries)
{
    std::string listed = "; ";
    for (const std::string& entry : entries)
        listed += entry + "; ";
    return listed;
}

std::string Scanned()
{
    std::string text;
    int count = 0;
    EXPECT_TRUE(BuildPortList(text, count));
    return Listed(PortListEntries(text));
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST(PortScan, FindsThePairsAndTheDatabasesPortsWithTheirDescriptionsAndSkipsOddNames)
{
    // Wine answers GetDefaultCommConfig for the names COM1..COM9, present or not, and for no
    // other: above COM9 only the device database names a port.
    const std::string plain = Scanned();
    EXPECT_TRUE(EndsWith(plain, "; COM8; COM9; ")) << plain;

    const PortDevices devices{{L"COM12", L"Para (COM12)"}, {L"COM13", L"Para \u0142\u0105cze B"},
                              {L"COM3x", L"odd"},          {L"com14", L"odd"},
                              {L"LPT1", L"odd"},           {L"COM0", L"odd"},
                              {L"COM256", L"odd"}};
    const std::string withDevices = Scanned();
    EXPECT_TRUE(EndsWith(withDevices, "; COM8; COM9; COM12 (Para); COM13 (Para łącze B); "))
        << withDevices;
    EXPECT_EQ(withDevices.find("odd"), std::string::npos) << withDevices;
}

// The main window as far as its initialisation, without the advert window and the port dialog it
// would schedule.
struct MainWindow : CMainDlg
{
    MainWindow()
    {
        showAdv = 0;
        if (Create())
            KillTimer(TIMER_PORT_RETRY);
    }
    ~MainWindow() override { DestroyWindow(m_hWnd); }
};

// Whether the main window is enabled while the wait dialog is up; "Anuluj" on the wait dialog,
// which must not shorten the scan.
HWND mainWindow = nullptr;
int waitDialogs = 0;
int mainEnabledDuringWait = 0;

LRESULT CALLBACK WatchWaitDialog(int code, WPARAM wParam, LPARAM lParam)
{
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && GetDlgItem(window, IDC_WAIT_MESSAGE))
    {
        ++waitDialogs;
        mainEnabledDuringWait += IsWindowEnabled(mainWindow) ? 1 : 0;
        DialogDriver::Press(window, IDC_WAIT_CANCEL);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string InUseAndList(HWND dialog)
{
    const HWND list = GetDlgItem(dialog, IDC_PORT_LIST);
    std::vector<std::string> entries;
    for (LRESULT i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i)
    {
        wchar_t text[300] = {};
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(WideToUtf8(text));
    }
    return WideToUtf8(DialogDriver::TextOf(GetDlgItem(dialog, IDC_PORT_IN_USE))) + Listed(entries) +
           "chosen: " + WideToUtf8(DialogDriver::TextOf(list));
}

TEST(PortDialog, ListsTheScanAndPreselectsThePortInUseWhileTheWaitDisablesTheMainWindow)
{
    MainWindow window;
    ASSERT_TRUE(window.m_hWnd);
    window.serialPort = std::make_unique<SerialPort>();
    ASSERT_TRUE(window.serialPort->Open(window.m_hWnd, 13, 300, 'N', 7, 1, 0));
    const std::string plain = Scanned();
    const PortDevices devices{{L"COM13", L"Para (COM13)"}, {L"COM12", L"Para"}};
    mainWindow = window.m_hWnd;
    const HHOOK hook = SetWindowsHookExW(WH_CBT, WatchWaitDialog, nullptr, GetCurrentThreadId());
    std::string seen;
    DialogDriver driver(
        [&](HWND dialog, const std::wstring& caption)
        {
            if (caption != PORT_DIALOG)
                return; // the wait dialog, which closes itself
            seen = InUseAndList(dialog);
            DialogDriver::Press(dialog, IDCANCEL);
        },
        {window.m_hWnd});
    window.SelectPort();
    UnhookWindowsHookEx(hook);

    EXPECT_EQ(seen, "Aktualnie używany port: COM13" + plain +
                        "COM12 (Para); COM13 (Para); chosen: COM13 (Para)");
    EXPECT_EQ(waitDialogs, 1);
    EXPECT_EQ(mainEnabledDuringWait, 0);
    EXPECT_TRUE(IsWindowEnabled(window.m_hWnd));
    EXPECT_EQ(window.serialPort->PortNumber(), 13) << "cancelled: nothing changes";
}

TEST(PortDialog, RefusesAnEmptyChoiceAndOffersAgainAfterAPortThatFailsToOpen)
{
    MainWindow window;
    ASSERT_TRUE(window.m_hWnd);
    // A port the device database lists but that is not there (an adapter unplugged).
    const PortDevices devices{{L"COM77", L"Adapter USB"}};
    const std::string plain = Scanned();
    const wchar_t* choices[] = {nullptr, L"COM77 (Adapter USB)", L"COM9"};
    std::vector<std::string> seen;
    DialogDriver driver(
        [&](HWND dialog, const std::wstring& caption)
        {
            if (caption.empty())
                return; // the wait dialog
            if (caption != PORT_DIALOG)
                seen.push_back(WideToUtf8(DialogDriver::MessageOf(dialog)));
            else if (const wchar_t* choice = choices[std::min<size_t>(seen.size() / 2, 2)])
                SendDlgItemMessageW(dialog, IDC_PORT_LIST, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(choice));
            if (caption == PORT_DIALOG)
                seen.push_back(InUseAndList(dialog));
            DialogDriver::Press(dialog, IDOK);
        },
        {window.m_hWnd});
    window.SelectPort();

    const std::string none = "Aktualnie żaden port nie jest używany" + plain + "chosen: ";
    const std::vector<std::string> expected{none, "Nie wybrano żadnego portu.",
                                            none + "COM77 (Adapter USB)",
                                            "Nie można otworzyć portu COM77", none + "COM9"};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(window.portNr, 9);
    ASSERT_NE(window.serialPort, nullptr);
    EXPECT_EQ(window.serialPort->PortNumber(), 9);
}

} // namespace
