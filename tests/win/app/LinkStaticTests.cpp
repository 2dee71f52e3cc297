#include "app/LinkStatic.h"
#include "app/LinkText.h"
#include "res/resource.h"
#include "tests/win/support/DialogDriver.h"
#include "tests/win/support/DialogTemplate.h"
#include "toolkit/DC.h"
#include "toolkit/Dialog.h"
#include "toolkit/TextConv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{

constexpr wchar_t LINK_TEXT[] = L"Kliknij, aby uzyskać więcej informacji";

// A static of 240 x height dialog units with this style, in a dialog of its own, bound to `link`.
struct LinkInDialog
{
    LinkInDialog(DWORD style, short height)
    {
        layout.Add(L"Static", IDC_ADVERT_LINK, style, 20, 30, 240, height, LINK_TEXT);
        host.InitModalIndirect(layout.Get());
        if (!host.Create())
            return;
        GetWindowRect(GetDlgItem(host.m_hWnd, IDC_ADVERT_LINK), &before);
        link.SubclassDlgItem(IDC_ADVERT_LINK, host);
    }
    ~LinkInDialog() { DestroyWindow(host.m_hWnd); }

    DialogTemplate layout{WS_POPUP | WS_CAPTION, 300, 100};
    CDialog host{0u};
    CLinkStatic link;
    RECT before{}; // on the screen, as the dialog made it
};

TEST(LinkFitToText, ShrinksTheControlToItsTextKeepingItsAlignment)
{
    for (const DWORD style : {SS_LEFT, SS_CENTER, SS_RIGHT, SS_RIGHT | SS_CENTERIMAGE})
    {
        SCOPED_TRACE("style " + std::to_string(style));
        LinkInDialog l(style, 21);
        CWindowDC dc(l.link.m_hWnd);
        ScopedSelectObject font(dc.Get(),
                                reinterpret_cast<HGDIOBJ>(l.link.SendMessage(WM_GETFONT)));
        const SIZE text = CDC(dc.Get()).GetTextExtent(WideToUtf8(LINK_TEXT));
        const RECT was = l.before, now = l.link.GetWindowRect();
        const long alignment = style & SS_TYPEMASK;
        // Halving an odd difference leaves the extra pixel in the control.
        EXPECT_LE(std::abs(now.right - now.left - text.cx), alignment == SS_CENTER ? 1 : 0);
        const LONG keptEdge = alignment == SS_LEFT    ? now.left - was.left
                              : alignment == SS_RIGHT ? now.right - was.right
                                                      : now.left + now.right - was.left - was.right;
        EXPECT_LE(std::abs(keptEdge), alignment == SS_CENTER ? 1 : 0);
        const bool centredImage = (style & SS_CENTERIMAGE) != 0;
        EXPECT_LE(std::abs(now.bottom - now.top - text.cy), centredImage ? 1 : 0);
        const LONG topOrMiddle = centredImage ? now.top + now.bottom - was.bottom : now.top;
        EXPECT_LE(std::abs(topOrMiddle - was.top), centredImage ? 1 : 0);
    }
}

TEST(LinkClick, ASuccessTurnsTheLinkVisitedAndAFailureClearsItWithAMessage)
{
    // The program for .htm files is looked up here: a type without an open command, so that the
    // fallback fails too and no browser starts.
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\QM7xxTests\\Classes\\.htm", nullptr, REG_SZ,
                    L"QM7xx.Test", sizeof L"QM7xx.Test");
    HKEY classes = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QM7xxTests\\Classes", 0, KEY_ALL_ACCESS, &classes);

    LinkInDialog l(SS_LEFT, 8);
    l.link.classesRoot = classes;
    std::vector<std::wstring> messages;
    DialogDriver driver(
        [&](HWND box, const std::wstring&)
        {
            messages.push_back(DialogDriver::MessageOf(box));
            DialogDriver::Press(box, IDOK);
        });
    const auto textColour = [&]
    {
        MemoryDcHandle dc(CreateCompatibleDC(nullptr));
        SendMessageW(l.host.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                     reinterpret_cast<LPARAM>(l.link.m_hWnd));
        return GetTextColor(dc.Get());
    };

    // A program that shows nothing and ends, as the target and as the program for .htm files.
    l.link.SetTarget("C:\\windows\\system32\\hostname.exe");
    constexpr wchar_t command[] = LR"("C:\windows\system32\hostname.exe" "%1")";
    EXPECT_EQ(textColour(), RGB(0, 0, 238));
    l.link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1)); // a click
    EXPECT_TRUE(l.link.Visited());
    EXPECT_EQ(textColour(), RGB(85, 26, 139));

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
