#include "recording/Cp1250.h"
#include "tests/win/support/DialogDriver.h"
#include "toolkit/TextConv.h"
#include "toolkit/WinApp.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

// The box disables the main window, so that no command of it runs under the box.
TEST(AppMessageBox, HasTheProgramsNameAndTheMainWindowAsOwnerEvenWhenAnotherIsActive)
{
    CWinApp app;
    CWnd main;
    ASSERT_TRUE(main.SubclassWindow(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                                    100, 100, nullptr, nullptr, nullptr, nullptr)));
    app.m_pMainWnd = &main;
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 200, 0, 100, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    DialogDriver driver(
        [&](HWND box, const std::wstring& caption)
        {
            EXPECT_EQ(caption, L"toolkit_tests");
            EXPECT_EQ(GetWindow(box, GW_OWNER), main.m_hWnd);
            EXPECT_FALSE(IsWindowEnabled(main.m_hWnd));
            DialogDriver::Press(box, GetDlgItem(box, IDNO) ? IDNO : IDOK);
        });
    EXPECT_EQ(AppMessageBox("Nie można otworzyć portu COM3"), IDOK);
    EXPECT_EQ(AppMessageBox("Zapisać zmiany?", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_TRUE(IsWindowEnabled(main.m_hWnd));
    DestroyWindow(other);
    DestroyWindow(main.m_hWnd);
}

TEST(TextConv, PolishTextSurvivesUtf16AndCodePage1250)
{
    EXPECT_EQ(WideToCp1250(L"\x4E2D"), "?");
    // The log's platform-free conversion agrees with Windows' code page 1250 on every character
    // the code page defines (Windows gives the undefined bytes C1 control characters).
    for (int byte = 0x80; byte <= 0xFF; ++byte)
    {
        const std::string one(1, static_cast<char>(byte));
        const std::wstring wide = Cp1250ToWide(one);
        if (wide.size() == 1 && wide[0] >= 0x80 && wide[0] < 0xA0)
            continue;
        EXPECT_EQ(Utf8ToCp1250(WideToUtf8(wide)), one) << "byte " << byte;
    }
}

} // namespace
