#include "toolkit/DC.h"
#include "toolkit/Gdi.h"
#include "toolkit/Handles.h"
#include "toolkit/WinApp.h"
#include "tests/win/support/DialogDriver.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(GdiObjects, OwnersDeleteWhatTheyHoldExactlyOnce)
{
    HBRUSH raw = CreateSolidBrush(RGB(10, 20, 30));
    {
        BrushHandle brush(raw);
        EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
        BrushHandle moved(std::move(brush));
        EXPECT_FALSE(brush);
        EXPECT_EQ(moved.Get(), raw);
    }
    EXPECT_EQ(GetObjectType(raw), 0u) << "deleted when its last owner went";
}

TEST(GdiObjects, ScopedSelectionPutsThePreviousObjectBack)
{
    MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    BitmapHandle bitmap(CreateCompatibleBitmap(dc.Get(), 4, 4));
    const HGDIOBJ before = GetCurrentObject(dc.Get(), OBJ_BITMAP);
    {
        ScopedSelectObject select(dc.Get(), bitmap.Get());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), before);
}

TEST(Handles, UniqueHandleClosesAndTreatsInvalidAsNone)
{
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        UniqueHandle owner(event);
        EXPECT_TRUE(owner.Valid());
    }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(event, &flags)) << "closed by its owner";
    UniqueHandle invalid(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(invalid.Valid());
}

TEST(DC, FillsAndDrawsUtf8TextIntoABitmap)
{
    MemoryDcHandle memory(CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 64;
    info.bmiHeader.biHeight = -32;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedSelectObject select(memory.Get(), bitmap.Get());
    CDC dc(memory.Get());
    const RECT all{0, 0, 64, 32};
    dc.FillSolidRect(all, RGB(200, 100, 50));
    EXPECT_EQ(GetPixel(memory.Get(), 63, 31), RGB(200, 100, 50));

    RECT measured = all;
    const int height = dc.DrawText("Zakończ", &measured, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(height, 0);
    EXPECT_EQ(dc.GetTextExtent("Zakończ").cx, measured.right - measured.left);
    EXPECT_GT(dc.GetTextExtent("WWWW").cx, dc.GetTextExtent("W").cx);
}

struct SeenBox
{
    std::wstring caption;
    HICON icon = nullptr;
};

// Shows an application message box and answers it with the given button.
int ShowAnswered(UINT type, int button, SeenBox& seen)
{
    DialogDriver driver(
        [&](HWND box, const std::wstring& caption)
        {
            seen.caption = caption;
            seen.icon = DialogDriver::IconOf(box);
            DialogDriver::Press(box, button);
        });
    return AppMessageBox("Nie można otworzyć portu COM3", type);
}

TEST(AppMessageBox, CaptionIsTheExecutablesBaseName)
{
    EXPECT_EQ(CWinApp::AppName(), L"toolkit_tests");
    SeenBox seen;
    EXPECT_EQ(ShowAnswered(MB_OK, IDOK, seen), IDOK);
    EXPECT_EQ(seen.caption, L"toolkit_tests");
}

TEST(AppMessageBox, ABoxWithoutAnIconGetsTheExclamationAndAnIconOfItsOwnIsKept)
{
    SeenBox seen;
    ShowAnswered(MB_OK, IDOK, seen);
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_EXCLAMATION));
    EXPECT_EQ(ShowAnswered(MB_YESNO | MB_ICONQUESTION, IDNO, seen), IDNO);
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_QUESTION));
}
TEST(WinApp, HelpFileIsTheProgramPathWithTheHlpExtension)
{
    const std::wstring help = CWinApp::HelpFilePath();
    ASSERT_GE(help.size(), 18u);
    EXPECT_EQ(help.substr(help.size() - 18), L"\\toolkit_tests.HLP");
}

} // namespace
