#include "tests/win/support/DialogDriver.h"
#include "toolkit/TextConv.h"
#include "toolkit/WinApp.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

struct SeenBox
{
    std::wstring caption;
    HICON icon = nullptr;
    HWND owner = nullptr;
    BOOL mainEnabled = TRUE;
};

// Shows an application message box and answers it with the given button.
int ShowAnswered(UINT type, int button, SeenBox& seen, HWND main = nullptr)
{
    DialogDriver driver(
        [&](HWND box, const std::wstring& caption)
        {
            seen.caption = caption;
            seen.icon = DialogDriver::IconOf(box);
            seen.owner = GetWindow(box, GW_OWNER);
            seen.mainEnabled = main ? IsWindowEnabled(main) : TRUE;
            DialogDriver::Press(box, button);
        },
        {main});
    return AppMessageBox("Nie można otworzyć portu COM3", type);
}

TEST(AppMessageBox, CaptionIsTheExecutablesNameAndABoxWithoutAnIconGetsTheExclamation)
{
    SeenBox seen;
    EXPECT_EQ(ShowAnswered(MB_OK, IDOK, seen), IDOK);
    EXPECT_EQ(seen.caption, L"toolkit_tests");
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_EXCLAMATION));
    EXPECT_EQ(ShowAnswered(MB_YESNO | MB_ICONQUESTION, IDNO, seen), IDNO);
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_QUESTION));
}

TEST(AppMessageBox, IsOwnedByTheMainWindowEvenWhenAnotherWindowIsActive)
{
    CWinApp app;
    CWnd main;
    ASSERT_TRUE(
        main.SubclassWindow(CreateWindowExW(0, L"STATIC", L"main", WS_POPUP | WS_VISIBLE, 0, 0, 100,
                                            100, nullptr, nullptr, nullptr, nullptr)));
    app.m_pMainWnd = &main;
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 200, 0, 100, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    SeenBox seen;
    ShowAnswered(MB_OK, IDOK, seen, main.m_hWnd);
    EXPECT_EQ(seen.owner, main.m_hWnd);
    EXPECT_FALSE(seen.mainEnabled) << "no command of the main window runs under the box";
    EXPECT_TRUE(IsWindowEnabled(main.m_hWnd));
    DestroyWindow(other);
    DestroyWindow(main.m_hWnd);
}

TEST(WinApp, HelpFileIsTheProgramPathWithTheHlpExtension)
{
    const std::wstring help = CWinApp::HelpFilePath();
    ASSERT_GE(help.size(), 18u);
    EXPECT_EQ(help.substr(help.size() - 18), L"\\toolkit_tests.HLP");
}

TEST(TextConv, PolishTextSurvivesUtf16AndCodePage1250)
{
    const std::string utf8 = "Natężenie światła";
    EXPECT_EQ(WideToUtf8(Utf8ToWide(utf8)), utf8);
    // e-ogonek 0xEA, z-dot 0xBF, s-acute 0x9C, l-stroke 0xB3.
    EXPECT_EQ(Utf8ToCp1250(utf8), "Nat\xEA\xBF"
                                  "enie \x9C"
                                  "wiat\xB3"
                                  "a");
    EXPECT_EQ(WideToCp1250(L"\x4E2D"), "?");
}

} // namespace
