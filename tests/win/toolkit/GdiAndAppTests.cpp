#include "toolkit/DC.h"
#include "toolkit/Gdi.h"
#include "toolkit/Handles.h"
#include "toolkit/WinApp.h"
#include "tests/win/support/MessagePump.h"

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

// Finds the message box of this thread from inside its own loop, notes its caption and icon, and
// presses one of its buttons.
struct MessageBoxWatch
{
    static inline std::wstring caption;
    static inline HICON icon = nullptr;
    static inline WPARAM button = IDOK;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD)
    {
        HWND box = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM found) -> BOOL
            {
                wchar_t cls[16] = {};
                GetClassNameW(hwnd, cls, 16);
                if (std::wstring(cls) == L"#32770" && IsWindowVisible(hwnd))
                {
                    *reinterpret_cast<HWND*>(found) = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&box));
        if (!box)
            return;
        KillTimer(nullptr, timer);
        wchar_t text[128] = {};
        GetWindowTextW(box, text, 128);
        caption = text;
        EnumChildWindows(
            box,
            [](HWND child, LPARAM) -> BOOL
            {
                if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                    icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
                return TRUE;
            },
            0);
        PostMessageW(box, WM_COMMAND, button, 0);
    }
};

int ShowWatched(UINT type, WPARAM button)
{
    MessageBoxWatch::caption.clear();
    MessageBoxWatch::icon = nullptr;
    MessageBoxWatch::button = button;
    SetTimer(nullptr, 0, 20, &MessageBoxWatch::Tick);
    return AppMessageBox("Nie można otworzyć portu COM3", type);
}

TEST(AppMessageBox, CaptionIsTheExecutablesBaseName)
{
    EXPECT_EQ(CWinApp::AppName(), L"toolkit_tests");
    EXPECT_EQ(ShowWatched(MB_OK, IDOK), IDOK);
    EXPECT_EQ(MessageBoxWatch::caption, L"toolkit_tests");
}

TEST(AppMessageBox, ABoxWithoutAnIconGetsTheExclamationAndAnIconOfItsOwnIsKept)
{
    ShowWatched(MB_OK, IDOK);
    EXPECT_EQ(MessageBoxWatch::icon, LoadIconW(nullptr, IDI_EXCLAMATION));
    EXPECT_EQ(ShowWatched(MB_YESNO | MB_ICONQUESTION, IDNO), IDNO);
    EXPECT_EQ(MessageBoxWatch::icon, LoadIconW(nullptr, IDI_QUESTION));
}

TEST(WinApp, HelpFileIsTheProgramPathWithTheHlpExtension)
{
    const std::wstring help = CWinApp::HelpFilePath();
    ASSERT_GE(help.size(), 18u);
    EXPECT_EQ(help.substr(help.size() - 18), L"\\toolkit_tests.HLP");
}

} // namespace
