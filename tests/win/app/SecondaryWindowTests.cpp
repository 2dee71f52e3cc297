#include "app/ExtraSettingsDlg.h"
#include "app/LinkStatic.h"
#include "app/LinkText.h"
#include "res/resource.h"
#include "tests/win/support/DialogDriver.h"
#include "tests/win/support/DialogTemplate.h"
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
        if (host.Create())
        {
            before = RectOf(GetDlgItem(host.m_hWnd, IDC_ADVERT_LINK));
            link.SubclassDlgItem(IDC_ADVERT_LINK, host);
        }
    }
    ~LinkInDialog() { DestroyWindow(host.m_hWnd); }
    RECT RectOf(HWND control) const
    {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, host.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    DialogTemplate layout{WS_POPUP | WS_CAPTION, 300, 100};
    CDialog host{0u};
    CLinkStatic link;
    RECT before{};
};

TEST(LinkFitToText, ShrinksTheControlToItsTextKeepingItsAlignment)
{
    for (const DWORD style : {SS_LEFT, SS_CENTER, SS_RIGHT, SS_RIGHT | SS_CENTERIMAGE})
    {
        SCOPED_TRACE("style " + std::to_string(style));
        LinkInDialog l(style, 21);
        ASSERT_TRUE(l.link.m_hWnd);
        HDC dc = GetDC(l.link.m_hWnd);
        const HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(l.link.SendMessage(WM_GETFONT)));
        SIZE text{};
        GetTextExtentPoint32W(dc, LINK_TEXT, static_cast<int>(wcslen(LINK_TEXT)), &text);
        SelectObject(dc, previous);
        ReleaseDC(l.link.m_hWnd, dc);

        const RECT was = l.before, now = l.RectOf(l.link.m_hWnd);
        const long alignment = style & SS_TYPEMASK;
        // Halving an odd difference leaves the extra pixel in the control.
        EXPECT_LE(std::abs(now.right - now.left - text.cx), alignment == SS_CENTER ? 1 : 0);
        switch (alignment)
        {
        case SS_LEFT:
            EXPECT_EQ(now.left, was.left);
            break;
        case SS_RIGHT:
            EXPECT_EQ(now.right, was.right);
            break;
        default:
            EXPECT_LE(std::abs(now.left + now.right - was.left - was.right), 1);
        }
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
    HKEY classes = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\QM7xxTests\\Classes\\.htm", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &classes, nullptr);
    RegSetValueExW(classes, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"QM7xx.Test"), 22);
    RegCloseKey(classes);
    RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QM7xxTests\\Classes", 0, KEY_READ, &classes);

    LinkInDialog l(SS_LEFT, 8);
    ASSERT_TRUE(l.link.m_hWnd);
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
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(l.host.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(l.link.m_hWnd));
        const COLORREF colour = GetTextColor(dc);
        DeleteDC(dc);
        return colour;
    };
    const auto click = [&] { l.link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1)); };

    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    l.link.SetTarget(WideToUtf8(system) + "\\hostname.exe"); // starts, shows nothing, ends
    EXPECT_EQ(textColour(), RGB(0, 0, 238));
    click();
    EXPECT_TRUE(l.link.Visited());
    EXPECT_EQ(textColour(), RGB(85, 26, 139));

    l.link.SetTarget("C:\\qm7xx-no-such-folder\\page.htm");
    click();
    EXPECT_FALSE(l.link.Visited()) << "a failed click clears what an earlier one set";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0] == Utf8ToWide(OpenErrorText(SE_ERR_FNF)) ||
                messages[0] == Utf8ToWide(OpenErrorText(SE_ERR_PNF)));
    RegCloseKey(classes);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QM7xxTests");
}

TEST(ExtraSettings, TheBoxShowsTheNegationOfShowAdvAndOnlyOkChangesIt)
{
    const struct
    {
        int showAdv;
        bool tick; // how the user leaves the box
        UINT answer;
        int expected;
    } cases[] = {
        {1, false, IDOK, 1}, {1, true, IDOK, 0},     {0, false, IDOK, 1},
        {7, false, IDOK, 1}, {1, true, IDCANCEL, 1}, {0, false, SC_CLOSE, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.showAdv) + (c.tick ? ", ticked, " : ", unticked, ") +
                     std::to_string(c.answer));
        bool tickedAtOpen = false;
        DialogDriver driver(
            [&](HWND dialog, const std::wstring&)
            {
                HWND box = GetDlgItem(dialog, IDC_NO_ADVERT_AT_START);
                tickedAtOpen = SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
                SendMessageW(box, BM_SETCHECK, c.tick ? BST_CHECKED : BST_UNCHECKED, 0);
                if (c.answer == SC_CLOSE)
                    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
                else
                    DialogDriver::Press(dialog, c.answer);
            });
        int showAdv = c.showAdv;
        EditAdvertAtStart(nullptr, showAdv);
        EXPECT_EQ(tickedAtOpen, c.showAdv == 0);
        EXPECT_EQ(showAdv, c.expected);
    }
}

} // namespace
