#include "app/LinkStatic.h"
#include "app/LinkText.h"
#include "res/resource.h"
#include "tests/win/support/DialogDriver.h"
#include "tests/win/support/DialogTemplate.h"
#include "toolkit/Dialog.h"
#include "toolkit/TextConv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// A link in a dialog of its own.
struct LinkInDialog
{
    LinkInDialog()
    {
        layout.Add(L"Static", IDC_ADVERT_LINK, SS_LEFT, 20, 30, 240, 8, L"Kliknij");
        host.InitModalIndirect(layout.Get());
        if (host.Create())
            link.SubclassDlgItem(IDC_ADVERT_LINK, host);
    }
    ~LinkInDialog() { DestroyWindow(host.m_hWnd); }

    DialogTemplate layout{WS_POPUP | WS_CAPTION, 300, 100};
    CDialog host{0u};
    CLinkStatic link;
};

TEST(LinkClick, ASuccessTurnsTheLinkVisitedAndAFailureClearsItWithAMessage)
{
    // The program for .htm files is looked up here: a type without an open command, so that the
    // fallback fails too and no browser starts.
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\QM7xxTests\\Classes\\.htm", nullptr, REG_SZ,
                    L"QM7xx.Test", sizeof L"QM7xx.Test");
    HKEY classes = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QM7xxTests\\Classes", 0, KEY_ALL_ACCESS, &classes);

    LinkInDialog l;
    l.link.classesRoot = classes;
    std::vector<std::wstring> messages;
    DialogDriver driver(
        [&](HWND box, const std::wstring&)
        {
            messages.push_back(DialogDriver::MessageOf(box));
            DialogDriver::Press(box, IDOK);
        });

    // A program that shows nothing and ends, as the target and as the program for .htm files.
    l.link.SetTarget("C:\\windows\\system32\\hostname.exe");
    constexpr wchar_t command[] = LR"("C:\windows\system32\hostname.exe" "%1")";
    l.link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1)); // a click
    EXPECT_TRUE(l.link.Visited());

    const std::string missingPage = "C:\\qm7xx-no-such-folder\\page.htm";
    l.link.SetTarget(missingPage);
    l.link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1)); // a click
    EXPECT_FALSE(l.link.Visited()) << "a failed click clears what an earlier one set";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0] == Utf8ToWide(OpenErrorText(SE_ERR_FNF)) ||
                messages[0] == Utf8ToWide(OpenErrorText(SE_ERR_PNF)));

    // Once .htm has a program, the fallback starts it with the page the shell could not open.
    RegSetKeyValueW(classes, L"QM7xx.Test\\shell\\open\\command", nullptr, REG_SZ, command,
                    sizeof command);
    EXPECT_GT(l.link.OpenLink(missingPage, SW_HIDE), 32);
    RegCloseKey(classes);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QM7xxTests");
}

} // namespace
