// The main window: its first view, its view commands, how it ends, and a stored port that fails.

#include "res/resource.h"
#include "tests/win/support/DialogDriver.h"
#include "tests/win/support/MessagePump.h"
#include "tests/win/ui/MainWindowTest.h"
#include "ui/MainLayout.h"

#include <cstring>
#include <vector>

namespace
{

bool Same(RECT a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

// Where a child sits in its parent's client area.
RECT ChildRect(const CWnd& child, const CWnd& parent)
{
    RECT r = child.GetWindowRect();
    MapWindowPoints(nullptr, parent.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT ToRect(const LayoutRect& r)
{
    return {r.x, r.y, r.x + r.width, r.y + r.height};
}

// On top, and the menu item says so.
bool ShownOnTop(const CMainDlg& w)
{
    const bool onTop = (GetWindowLongW(w.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    const bool checked =
        (GetMenuState(GetMenu(w.m_hWnd), ID_VIEW_TOPMOST, MF_BYCOMMAND) & MF_CHECKED) != 0;
    EXPECT_EQ(onTop, checked) << "the menu item and the window disagree";
    return onTop;
}

constexpr RECT FIRST_PLACE{50, 50, 600, 450};

TEST_F(MainWindowTest, FirstViewIsAt5050With550By400AndOneBlinkingPanelWithoutAReading)
{
    EXPECT_TRUE(Same(window.GetWindowRect(), FIRST_PLACE));
    EXPECT_EQ(Status(), "Brak łączności z przyrządem.");
    EXPECT_TRUE(window.panel1.IsWindowVisible());
    EXPECT_FALSE(window.panel2.IsWindowVisible());
    EXPECT_FALSE(window.panel1.HasReading());
    EXPECT_TRUE(window.panel1.IsBlinking());
    EXPECT_TRUE(window.panel2.IsBlinking());

    const RECT client = window.GetClientRect();
    const MainLayout layout =
        ComputeMainLayout(client.right, client.bottom, GetSystemMetrics(SM_CXDLGFRAME),
                          window.statusLineHeight, false);
    EXPECT_TRUE(Same(ChildRect(window.panel1, window), ToRect(layout.panel1)));
    EXPECT_TRUE(Same(ChildRect(window.statusLine, window), ToRect(layout.statusLine)));
}

TEST_F(MainWindowTest, TopmostToggleMovesNothingAndAStoredTopmostStartsOnTopAtTheFirstPlace)
{
    EXPECT_FALSE(ShownOnTop(window));
    window.MoveWindow(80, 90, 500, 350);
    window.SendMessage(WM_COMMAND, ID_VIEW_TOPMOST);
    EXPECT_EQ(window.topmost, 1);
    EXPECT_TRUE(ShownOnTop(window));
    EXPECT_TRUE(Same(window.GetWindowRect(), RECT{80, 90, 580, 440})) << "stays where it was";
    window.ToggleTopmost();
    EXPECT_EQ(window.topmost, 0);
    EXPECT_FALSE(ShownOnTop(window));

    CMainDlg stored;
    stored.showAdv = 0;
    stored.topmost = 1;
    ASSERT_TRUE(stored.Create());
    stored.KillTimer(TIMER_PORT_RETRY);
    EXPECT_TRUE(ShownOnTop(stored));
    EXPECT_TRUE(Same(stored.GetWindowRect(), FIRST_PLACE));
    DestroyWindow(stored.m_hWnd);
}

// The main window run modally, with messages waiting for it as a user would send them.
class ModalMainWindow : public CMainDlg
{
public:
    explicit ModalMainWindow(std::vector<MSG> toPost) : toPost_(std::move(toPost))
    {
        showAdv = 0;
    }

protected:
    BOOL OnInitDialog() override
    {
        CMainDlg::OnInitDialog();
        KillTimer(TIMER_PORT_RETRY);
        for (const MSG& m : toPost_)
            ::PostMessageW(m.hwnd ? statusLine.m_hWnd : m_hWnd, m.message, m.wParam, 0);
        return TRUE;
    }

private:
    std::vector<MSG> toPost_; // hwnd 0: the main window, anything else: the status line
};

MSG Post(UINT message, WPARAM wParam, bool toStatusLine = false)
{
    MSG m{};
    m.hwnd = toStatusLine ? HWND_BROADCAST : nullptr;
    m.message = message;
    m.wParam = wParam;
    return m;
}

TEST(MainWindow, EnterAndEscapeCloseNothingZakonczEndsWithOkAndTheCloseBoxWithCancel)
{
    ModalMainWindow keys({Post(WM_KEYDOWN, VK_RETURN), Post(WM_KEYDOWN, VK_ESCAPE),
                          Post(WM_KEYDOWN, VK_RETURN, true), Post(WM_KEYDOWN, VK_ESCAPE, true),
                          Post(WM_COMMAND, ID_APP_EXIT)});
    EXPECT_EQ(keys.DoModal(), IDOK);
    ModalMainWindow closed({Post(WM_SYSCOMMAND, SC_CLOSE)});
    EXPECT_EQ(closed.DoModal(), IDCANCEL);
}

// Message boxes and common dialogs met on the way, answered as the script says.
std::vector<std::wstring> Answer(std::function<void(HWND, const std::wstring&)> script,
                                 HWND leaveAlone, const std::function<void()>& action)
{
    std::vector<std::wstring> seen;
    DialogDriver driver(
        [&](HWND dialog, const std::wstring& caption)
        {
            seen.push_back(caption + L": " + DialogDriver::MessageOf(dialog));
            script(dialog, caption);
        },
        {leaveAlone});
    action();
    return seen;
}

TEST_F(MainWindowTest, HelpWithoutAHelpFileSaysItFailed)
{
    const auto seen =
        Answer([](HWND box, const std::wstring&) { DialogDriver::Press(box, IDOK); }, window.m_hWnd,
               [&]
               {
                   window.SendMessage(WM_COMMAND, ID_HELP_CONTENTS);
                   window.SendMessage(WM_HELP, 0, 0); // F1 ends there too
               });
    EXPECT_EQ(seen, (std::vector<std::wstring>(2, L"ui_tests: Failed to launch help.")));
}

TEST_F(MainWindowTest, ColourAndFontChosenInTheirDialogsGoToBothPanelsAndCancelChangesNothing)
{
    bool choose = true;
    const auto script = [&](HWND dialog, const std::wstring&)
    {
        SetDlgItemTextW(dialog, 706, L"10"); // red, green and blue of the full colour dialog
        SetDlgItemTextW(dialog, 707, L"20");
        SetDlgItemTextW(dialog, 708, L"30");
        DialogDriver::Press(dialog, choose ? IDOK : IDCANCEL);
    };
    Answer(script, window.m_hWnd,
           [&] { window.SendMessage(WM_COMMAND, ID_VIEW_BACKGROUND_COLOUR); });
    EXPECT_EQ(window.panel1.backgroundColour, RGB(10, 20, 30));
    EXPECT_EQ(window.panel2.backgroundColour, RGB(10, 20, 30));
    EXPECT_EQ(window.panel1.textColour, DEFAULT_TEXT_COLOUR);
    choose = false;
    Answer(script, window.m_hWnd, [&] { window.SendMessage(WM_COMMAND, ID_VIEW_TEXT_COLOUR); });
    EXPECT_EQ(window.panel2.textColour, DEFAULT_TEXT_COLOUR);

    const HFONT before = window.panel1.ReadingFont();
    choose = true;
    Answer(script, window.m_hWnd, [&] { window.SendMessage(WM_COMMAND, ID_VIEW_FONT); });
    EXPECT_NE(window.panel1.ReadingFont(), before);
    EXPECT_NE(window.panel1.ReadingFont(), window.panel2.ReadingFont()) << "each owns its font";
    EXPECT_EQ(std::memcmp(&window.panel1.logFont, &window.panel2.logFont, sizeof(LOGFONTW)), 0);
}

TEST(MainWindow, AStoredPortThatFailsIsReportedAtStartAndThePortDialogFollowsOnceShown)
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
    CMainDlg window;
    window.showAdv = 0;
    window.portNr = 77;
    ASSERT_TRUE(window.Create());
    ASSERT_EQ(seen.size(), 1u) << "the message comes before the window is shown";
    EXPECT_EQ(seen[0], L"Nie można otworzyć portu COM77");
    EXPECT_EQ(window.serialPort, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return seen.size() == 2; }, 3000));
    EXPECT_EQ(seen.back(), L"Port szeregowy");
    EXPECT_EQ(window.portNr, 77) << "the stored port is kept when the dialog is cancelled";
    DestroyWindow(window.m_hWnd);
}

} // namespace
