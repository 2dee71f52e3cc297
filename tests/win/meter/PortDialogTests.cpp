// The port scan in the test's Wine prefix, the wait dialog and the port dialog, and the main
// window's port selection on top of them, with the virtual serial pairs COM8 <-> COM9 and
// COM12 <-> COM13 in place. Wine's device database lists no serial port of its own; the tests
// write the devices they need into it.

#include "meter/PortDlg.h"
#include "meter/PortList.h"
#include "meter/PortScan.h"
#include "res/resource.h"
#include "tests/win/meter/SerialTestSupport.h"
#include "tests/win/support/DialogDriver.h"
#include "toolkit/TextConv.h"
#include "ui/MainDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace
{

const std::wstring PORT_DIALOG = L"Port szeregowy";

// Devices of the "Ports" class written into the prefix's device database, as a driver of real
// ports would write them, and removed again.
class PortDevices
{
public:
    PortDevices(std::initializer_list<std::pair<std::wstring, std::wstring>> nameAndDescription)
    {
        int index = 0;
        for (const auto& [name, description] : nameAndDescription)
        {
            const std::wstring instance = ROOT + L"\\" + std::to_wstring(index++);
            Write(instance, L"ClassGUID", L"{4D36E978-E325-11CE-BFC1-08002BE10318}");
            Write(instance, L"DeviceDesc", description);
            Write(instance + L"\\Device Parameters", L"PortName", name);
        }
    }
    ~PortDevices() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, ROOT.c_str()); }
    PortDevices(const PortDevices&) = delete;
    PortDevices& operator=(const PortDevices&) = delete;

private:
    static void Write(const std::wstring& key, const wchar_t* name, const std::wstring& text)
    {
        HKEY handle = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &handle, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(handle);
    }
    const std::wstring ROOT = L"SYSTEM\\CurrentControlSet\\Enum\\Root\\QM7XX_TEST_PORTS";
};

std::vector<std::string> ScannedEntries()
{
    std::string text;
    int count = 0;
    EXPECT_TRUE(BuildPortList(text, count));
    return PortListEntries(text);
}

bool Has(const std::vector<std::string>& entries, const std::string& entry)
{
    return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

std::string Joined(const std::vector<std::string>& entries)
{
    std::string joined;
    for (const std::string& entry : entries)
        joined += entry + "; ";
    return joined;
}

TEST(PortScan, FindsThePairPortsAndNoAbsentPortAboveCom9)
{
    const std::vector<std::string> entries = ScannedEntries();
    EXPECT_TRUE(Has(entries, "COM8")) << Joined(entries);
    EXPECT_TRUE(Has(entries, "COM9")) << Joined(entries);
    // Wine answers GetDefaultCommConfig for the names COM1..COM9 whether or not they exist, and
    // for no name above; the pair COM12/COM13 is found only through the device database.
    for (int absent : {10, 11, 14, 99, 255, 256})
        EXPECT_FALSE(Has(entries, "COM" + std::to_string(absent))) << Joined(entries);
}

TEST(PortScan, PortsOfTheDeviceDatabaseComeWithTheirDescriptionsAndOddNamesAreSkipped)
{
    const PortDevices devices{{L"COM12", L"Para wirtualna (COM12)"},
                              {L"COM13", L"Para wirtualna \x0142\x0105"
                                         L"cze B"},
                              {L"COM3x", L"refused"},
                              {L"com14", L"refused"},
                              {L"LPT1", L"refused"},
                              {L"COM0", L"refused"},
                              {L"COM256", L"refused"}};
    const std::vector<std::string> entries = ScannedEntries();
    EXPECT_TRUE(Has(entries, "COM12 (Para wirtualna)")) << Joined(entries);
    EXPECT_TRUE(Has(entries, "COM13 (Para wirtualna łącze B)")) << Joined(entries);
    EXPECT_TRUE(Has(entries, "COM8")) << "the probe still runs: " << Joined(entries);
    EXPECT_EQ(Joined(entries).find("refused"), std::string::npos) << Joined(entries);
    EXPECT_FALSE(Has(entries, "COM14")) << Joined(entries);
    EXPECT_FALSE(Has(entries, "COM256")) << Joined(entries);
}

std::vector<std::string> ComboEntries(HWND dialog)
{
    std::vector<std::string> entries;
    const HWND combo = GetDlgItem(dialog, IDC_PORT_LIST);
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
    {
        std::wstring text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)), L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        entries.push_back(WideToUtf8(text));
    }
    return entries;
}

// The main window as far as its initialisation, without the port dialog it would schedule.
std::unique_ptr<CMainDlg> OpenMainWindow()
{
    auto window = std::make_unique<CMainDlg>();
    if (!window->Create())
        return nullptr;
    window->KillTimer(TIMER_PORT_RETRY);
    return window;
}

struct Closer
{
    std::unique_ptr<CMainDlg>& window;
    ~Closer()
    {
        if (window && window->m_hWnd)
            DestroyWindow(window->m_hWnd);
    }
};

// Watches for the wait dialog being activated and notes whether the main window is enabled then;
// `onShown` may answer the wait dialog.
class WaitDialogWatch
{
public:
    WaitDialogWatch(HWND mainWindow, std::function<void(HWND)> onShown)
    {
        current_ = this;
        main_ = mainWindow;
        onShown_ = std::move(onShown);
        hook_ = SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
    }
    ~WaitDialogWatch()
    {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    WaitDialogWatch(const WaitDialogWatch&) = delete;
    WaitDialogWatch& operator=(const WaitDialogWatch&) = delete;

    int shown = 0;
    int mainEnabledWhileShown = 0;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const HWND window = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && current_ && GetDlgItem(window, IDC_WAIT_MESSAGE))
        {
            ++current_->shown;
            current_->mainEnabledWhileShown += IsWindowEnabled(current_->main_) ? 1 : 0;
            if (current_->onShown_)
                current_->onShown_(window);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline WaitDialogWatch* current_ = nullptr;
    HWND main_ = nullptr;
    std::function<void(HWND)> onShown_;
    HHOOK hook_ = nullptr;
};

// One opening of the port dialog from the main window: what it showed, and what it was told.
struct PortDialogVisit
{
    std::string inUse;
    std::vector<std::string> entries;
    std::string selected;
};

TEST(PortDialog, ListsTheScanNamesThePortInUseAndTheWaitKeepsTheMainWindowDisabled)
{
    auto window = OpenMainWindow();
    ASSERT_TRUE(window);
    Closer closer{window};
    window->serialPort = std::make_unique<SerialPort>();
    ASSERT_TRUE(window->serialPort->Open(window->m_hWnd, HIGH_PAIR_SENDER, 300, 'N', 7, 1, 0));

    // "Anuluj" and Escape on the wait dialog: neither shortens the scan.
    int answer = 0;
    WaitDialogWatch watch(
        window->m_hWnd,
        [&](HWND wait) { DialogDriver::Press(wait, answer++ % 2 ? IDCANCEL : IDC_WAIT_CANCEL); });
    std::vector<PortDialogVisit> visits;
    DialogDriver driver(
        [&](HWND dialog, const std::wstring& caption)
        {
            if (caption != PORT_DIALOG)
                return; // the wait dialog, which closes itself
            const HWND combo = GetDlgItem(dialog, IDC_PORT_LIST);
            visits.push_back({WideToUtf8(DialogDriver::TextOf(GetDlgItem(dialog, IDC_PORT_IN_USE))),
                              ComboEntries(dialog), WideToUtf8(DialogDriver::TextOf(combo))});
            DialogDriver::Press(dialog, IDCANCEL);
        },
        {window->m_hWnd});
    {
        const PortDevices devices{{L"COM13", L"Para (COM13)"}, {L"COM12", L"Para"}};
        window->SelectPort();
    }
    window->SelectPort(); // the list is scanned anew: the database's ports are gone
    window->serialPort.reset();
    window->SelectPort();

    ASSERT_EQ(visits.size(), 3u);
    EXPECT_EQ(watch.shown, 3);
    EXPECT_EQ(watch.mainEnabledWhileShown, 0);
    EXPECT_EQ(visits[0].inUse, "Aktualnie używany port: COM13");
    EXPECT_EQ(visits[0].selected, "COM13 (Para)") << Joined(visits[0].entries);
    EXPECT_TRUE(Has(visits[0].entries, "COM12 (Para)")) << Joined(visits[0].entries);
    EXPECT_TRUE(Has(visits[0].entries, "COM8")) << Joined(visits[0].entries);
    EXPECT_EQ(visits[1].entries, ScannedEntries()) << "the scan finished before the list was read";
    EXPECT_FALSE(Has(visits[1].entries, "COM13 (Para)")) << Joined(visits[1].entries);
    EXPECT_EQ(visits[1].selected, "") << "COM13 is no longer listed";
    EXPECT_EQ(visits[2].inUse, "Aktualnie żaden port nie jest używany");
    EXPECT_EQ(visits[2].selected, "");
    EXPECT_TRUE(IsWindowEnabled(window->m_hWnd));
}

TEST(PortDialog, RefusesAnEmptyChoiceAndOffersAgainAfterAPortThatFailsToOpen)
{
    auto window = OpenMainWindow();
    ASSERT_TRUE(window);
    Closer closer{window};
    // A port the device database lists but that is not there (an adapter unplugged).
    const PortDevices devices{{L"COM77", L"Adapter USB"}};
    const wchar_t* choices[] = {nullptr, L"COM77 (Adapter USB)", L"COM9"};
    size_t portDialogs = 0;
    std::vector<std::wstring> seen;
    DialogDriver driver(
        [&](HWND dialog, const std::wstring& caption)
        {
            if (caption.empty())
                return; // the wait dialog
            if (caption != PORT_DIALOG)
            {
                seen.push_back(DialogDriver::MessageOf(dialog));
                DialogDriver::Press(dialog, IDOK);
                return;
            }
            if (portDialogs < std::size(choices) && choices[portDialogs])
                SendDlgItemMessageW(dialog, IDC_PORT_LIST, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(choices[portDialogs]));
            seen.push_back(L"dialog, chosen: " +
                           DialogDriver::TextOf(GetDlgItem(dialog, IDC_PORT_LIST)));
            ++portDialogs;
            DialogDriver::Press(dialog, IDOK);
        },
        {window->m_hWnd});
    window->SelectPort();

    const std::vector<std::wstring> expected{
        L"dialog, chosen: ",
        L"Nie wybrano \x017C"
        L"adnego portu.",
        L"dialog, chosen: COM77 (Adapter USB)",
        L"Nie mo\x017C"
        L"na otworzy\x0107 portu COM77",
        L"dialog, chosen: COM9",
    };
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(window->portNr, 9);
    ASSERT_NE(window->serialPort, nullptr);
    EXPECT_EQ(window->serialPort->PortNumber(), 9);
}

} // namespace
