// The main window: its first view, its view commands, how it ends, and a stored port that fails.

#include "tools/qm7xx-sim/FrameEncoder.h"
#include "res/resource.h"
#include "tests/win/support/DialogDriver.h"
#include "tests/win/support/MessagePump.h"
#include "tests/win/ui/MainWindowTest.h"

#include <cstring>
#include <vector>

namespace
{

bool Same(RECT a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

constexpr RECT FIRST_PLACE{50, 50, 600, 450};

// On top, and the menu item says so.
bool ShownOnTop(const CMainDlg& w)
{
    const bool onTop = (GetWindowLongW(w.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    const bool checked =
        (GetMenuState(GetMenu(w.m_hWnd), ID_VIEW_TOPMOST, MF_BYCOMMAND) & MF_CHECKED) != 0;
    EXPECT_EQ(onTop, checked) << "the menu item and the window disagree";
    return onTop;
}

// Where the first view is and which panels it shows is the end-to-end tier's first check.
TEST_F(MainWindowTest, FirstViewLaysOutOnePanelAndTheTopmostToggleMovesNothing)
{
    EXPECT_EQ(window.StatusLine().GetWindowText(), "Brak łączności z przyrządem.") << "at once";
    EXPECT_FALSE(ShownOnTop(window));
    const RECT client = window.GetClientRect();
    ExpectLaidOut(client.right, client.bottom, false);

    window.MoveWindow(80, 90, 500, 350);
    window.SendMessage(WM_COMMAND, ID_VIEW_TOPMOST);
    EXPECT_TRUE(ShownOnTop(window));
    window.ToggleTopmost();
    EXPECT_FALSE(ShownOnTop(window));
    EXPECT_TRUE(Same(window.GetWindowRect(), RECT{80, 90, 580, 440})) << "stays where it was";
}

// Runs the main window modally; once it shows, Enter and Escape are pressed on it and on its status
// line, then the message is posted. Answers how it ended.
INT_PTR RunModal(UINT message, WPARAM wParam)
{
    CMainDlg window{MainWindowTest::Quiet()};
    DialogDriver driver(
        [&](HWND dialog, const std::wstring&)
        {
            window.KillTimer(TIMER_PORT_RETRY);
            for (HWND target : {dialog, window.StatusLine().m_hWnd})
                for (WPARAM key : {VK_RETURN, VK_ESCAPE})
                    PostMessageW(target, WM_KEYDOWN, key, 0);
            PostMessageW(dialog, message, wParam, 0);
        });
    return window.DoModal();
}

TEST(MainWindow, EnterAndEscapeCloseNothingZakonczEndsWithOkAndTheCloseBoxWithCancel)
{
    EXPECT_EQ(RunModal(WM_COMMAND, ID_APP_EXIT), IDOK);
    EXPECT_EQ(RunModal(WM_SYSCOMMAND, SC_CLOSE), IDCANCEL);
}

TEST_F(MainWindowTest, HelpWithoutAHelpFileFailsAndColourAndFontGoToBothPanelsUnlessCancelled)
{
    std::vector<std::wstring> messages;
    bool choose = true;
    DialogDriver driver(
        [&](HWND dialog, const std::wstring& caption)
        {
            if (caption == L"ui_tests")
                messages.push_back(DialogDriver::MessageOf(dialog));
            SetDlgItemTextW(dialog, 706, L"10"); // red, green and blue of the full colour dialog
            SetDlgItemTextW(dialog, 707, L"20");
            SetDlgItemTextW(dialog, 708, L"30");
            DialogDriver::Press(dialog, choose ? IDOK : IDCANCEL);
        },
        {window.m_hWnd});
    window.SendMessage(WM_COMMAND, ID_HELP_CONTENTS);
    window.SendMessage(WM_HELP, 0, 0); // F1 ends there too
    EXPECT_EQ(messages, (std::vector<std::wstring>(2, L"Failed to launch help.")));

    const PanelLook defaults;
    window.SendMessage(WM_COMMAND, ID_VIEW_BACKGROUND_COLOUR);
    EXPECT_EQ(window.Panel(0).Look().backgroundColour, RGB(10, 20, 30));
    EXPECT_EQ(window.Panel(1).Look().backgroundColour, RGB(10, 20, 30));
    EXPECT_EQ(window.Panel(0).Look().textColour, defaults.textColour);
    choose = false;
    window.SendMessage(WM_COMMAND, ID_VIEW_TEXT_COLOUR);
    EXPECT_EQ(window.Panel(1).Look().textColour, defaults.textColour);

    const HFONT before = window.Panel(0).ReadingFont();
    choose = true;
    window.SendMessage(WM_COMMAND, ID_VIEW_FONT);
    EXPECT_NE(window.Panel(0).ReadingFont(), before);
    EXPECT_NE(window.Panel(0).ReadingFont(), window.Panel(1).ReadingFont()) << "each owns its font";
    EXPECT_EQ(std::memcmp(&window.Panel(0).LogFont(), &window.Panel(1).LogFont(), sizeof(LOGFONTW)),
              0);
}

TEST(MainWindow, AStoredTopmostStartsOnTopAndAStoredPortThatFailsIsReportedThenThePortDialogFollows)
{
    std::vector<std::wstring> seen;
    DialogDriver driver(
        [&](HWND dialog, const std::wstring& caption)
        {
            if (caption == L"QM7xx" || caption.empty())
                return; // the main window itself, once shown, and the port scan's wait dialog
            const bool portDialog = caption == L"Port szeregowy";
            seen.push_back(portDialog ? caption : DialogDriver::MessageOf(dialog));
            DialogDriver::Press(dialog, portDialog ? IDCANCEL : IDOK);
        });
    AppSettings settings = MainWindowTest::Quiet();
    settings.portNr = 77;
    settings.topmost = true;
    CMainDlg window(settings);
    ASSERT_TRUE(window.Create());
    EXPECT_TRUE(ShownOnTop(window));
    EXPECT_TRUE(Same(window.GetWindowRect(), FIRST_PLACE)) << "placed when it starts on top";
    EXPECT_EQ(seen, std::vector<std::wstring>{L"Nie można otworzyć portu COM77"})
        << "the message comes before the window is shown";

    EXPECT_TRUE(PumpUntil([&] { return seen.size() == 2; }, 3000));
    EXPECT_EQ(seen.back(), L"Port szeregowy");
    EXPECT_EQ(window.Settings().portNr, 77)
        << "the stored port is kept when the dialog is cancelled";
    DestroyWindow(window.m_hWnd);
}

TEST_F(MainWindowTest, ALayoutChangeWhileMaximisedUsesTheMaximisedSize)
{
    window.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(1000, 700));
    for (std::uint8_t b : EncodeFrame(Frame24Spec{}))
        window.SendMessage(SerialPort::WM_METER_BYTE, b, 0);
    EXPECT_EQ(spy->Count(WM_SIZE, SIZE_MAXIMIZED), 2) << "laid out again at the maximised size";
    ExpectLaidOut(1000, 700, true);
}

} // namespace
