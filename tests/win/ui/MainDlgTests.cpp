#include "res/resource.h"
#include "tests/win/support/DialogDriver.h"
#include "tests/win/support/MessagePump.h"
#include "ui/MainDlg.h"
#include "ui/MainLayout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace
{

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
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

bool MenuChecked(HWND window, UINT id)
{
    return (GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

bool Topmost(HWND window)
{
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The main window opened modeless, as far as its initialisation; without a stored port the port
// dialog would follow 500 ms after the window shows, which these tests do not want.
std::unique_ptr<CMainDlg> OpenMainWindow(int topmost = 0)
{
    auto window = std::make_unique<CMainDlg>();
    window->topmost = topmost;
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

TEST(MainWindow, FirstViewIsAt5050With550By400AndOneBlinkingPanelWithoutAReading)
{
    auto window = OpenMainWindow();
    ASSERT_TRUE(window);
    Closer closer{window};

    EXPECT_TRUE(SameRect(window->GetWindowRect(), RECT{50, 50, 600, 450}));
    EXPECT_EQ(window->statusLine.GetWindowText(), "Brak łączności z przyrządem.");
    EXPECT_TRUE(window->panel1.IsWindowVisible());
    EXPECT_FALSE(window->panel2.IsWindowVisible());
    EXPECT_FALSE(window->panel1.HasReading());
    EXPECT_TRUE(window->panel1.IsBlinking());
    EXPECT_TRUE(window->panel2.IsBlinking());
    EXPECT_EQ(window->linkLost, 1);

    const RECT client = window->GetClientRect();
    const MainLayout layout =
        ComputeMainLayout(client.right, client.bottom, GetSystemMetrics(SM_CXDLGFRAME),
                          window->statusLineHeight, false);
    EXPECT_TRUE(SameRect(ChildRect(window->panel1, *window), ToRect(layout.panel1)));
    EXPECT_TRUE(SameRect(ChildRect(window->statusLine, *window), ToRect(layout.statusLine)));
    EXPECT_EQ(window->restoredSize.cx, client.right);
    EXPECT_EQ(window->restoredSize.cy, client.bottom);
}

TEST(MainWindow, StatusLineHeightIsMeasuredFromTheTemplate)
{
    auto window = OpenMainWindow();
    ASSERT_TRUE(window);
    Closer closer{window};
    // 12 dialog units of "MS Sans Serif" 8; the layout then makes the line E + f high.
    EXPECT_GT(window->statusLineHeight, 12);
    const RECT status = ChildRect(window->statusLine, *window);
    EXPECT_EQ(status.bottom - status.top,
              window->statusLineHeight + GetSystemMetrics(SM_CXDLGFRAME));
}

TEST(MainWindow, TwoPanelLayoutSplitsTheAreaBelowTheStatusLine)
{
    auto window = OpenMainWindow();
    ASSERT_TRUE(window);
    Closer closer{window};
    window->twoChannelMode = 1;
    window->decoder.reading.secondChannel = 8;
    window->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(534, 362));
    const MainLayout layout = ComputeMainLayout(534, 362, GetSystemMetrics(SM_CXDLGFRAME),
                                                window->statusLineHeight, true);
    EXPECT_TRUE(SameRect(ChildRect(window->panel1, *window), ToRect(layout.panel1)));
    EXPECT_TRUE(SameRect(ChildRect(window->panel2, *window), ToRect(layout.panel2)));
}

TEST(MainWindow, SizeMessagesRecordRestoredAndMaximisedSizes)
{
    auto window = OpenMainWindow();
    ASSERT_TRUE(window);
    Closer closer{window};
    window->SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(1000, 700));
    EXPECT_EQ(window->maximisedFlag, 1);
    EXPECT_EQ(window->maximisedSize.cx, 1000);
    EXPECT_EQ(window->maximisedSize.cy, 700);
    window->SendMessage(WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(window->maximisedFlag, 0);
    window->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 300));
    EXPECT_EQ(window->restoredSize.cx, 400);
    EXPECT_EQ(window->restoredSize.cy, 300);
    EXPECT_EQ(window->maximisedSize.cx, 1000) << "the maximised size is kept for later";
}

TEST(MainWindow, TopmostToggleMovesNothingAndChecksTheMenuItem)
{
    auto window = OpenMainWindow();
    ASSERT_TRUE(window);
    Closer closer{window};
    EXPECT_FALSE(Topmost(window->m_hWnd));
    EXPECT_FALSE(MenuChecked(window->m_hWnd, ID_VIEW_TOPMOST));

    window->MoveWindow(80, 90, 500, 350);
    window->SendMessage(WM_COMMAND, ID_VIEW_TOPMOST);
    EXPECT_EQ(window->topmost, 1);
    EXPECT_TRUE(Topmost(window->m_hWnd));
    EXPECT_TRUE(MenuChecked(window->m_hWnd, ID_VIEW_TOPMOST));
    EXPECT_TRUE(SameRect(window->GetWindowRect(), RECT{80, 90, 580, 440}))
        << "stays where the user left it";

    window->ToggleTopmost();
    EXPECT_EQ(window->topmost, 0);
    EXPECT_FALSE(Topmost(window->m_hWnd));
    EXPECT_FALSE(MenuChecked(window->m_hWnd, ID_VIEW_TOPMOST));
}

TEST(MainWindow, StoredTopmostStartsAboveOthersAtTheFirstPlace)
{
    auto window = OpenMainWindow(1);
    ASSERT_TRUE(window);
    Closer closer{window};
    EXPECT_EQ(window->topmost, 1);
    EXPECT_TRUE(Topmost(window->m_hWnd));
    EXPECT_TRUE(MenuChecked(window->m_hWnd, ID_VIEW_TOPMOST));
    EXPECT_TRUE(SameRect(window->GetWindowRect(), RECT{50, 50, 600, 450}));
}

TEST(MainWindow, SystemMenuOffersTheAboutBox)
{
    auto window = OpenMainWindow();
    ASSERT_TRUE(window);
    Closer closer{window};
    wchar_t text[64] = {};
    GetMenuStringW(GetSystemMenu(window->m_hWnd, FALSE), IDM_ABOUTBOX, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"&O programie...");
}

class ModalMainWindow : public CMainDlg
{
public:
    std::vector<MSG> toPost; // hwnd 0 means the main window, 1 the status line

protected:
    BOOL OnInitDialog() override
    {
        CMainDlg::OnInitDialog();
        KillTimer(TIMER_PORT_RETRY);
        for (MSG m : toPost)
        {
            HWND target = m.hwnd == nullptr ? m_hWnd : statusLine.m_hWnd;
            ::PostMessageW(target, m.message, m.wParam, m.lParam);
        }
        return TRUE;
    }
};

MSG Post(UINT message, WPARAM wParam, bool toStatusLine = false)
{
    MSG m{};
    m.hwnd = toStatusLine ? reinterpret_cast<HWND>(1) : nullptr;
    m.message = message;
    m.wParam = wParam;
    return m;
}

TEST(MainWindow, EnterAndEscapeCloseNothingAndZakonczEndsWithOk)
{
    ModalMainWindow window;
    window.toPost = {Post(WM_KEYDOWN, VK_RETURN), Post(WM_KEYDOWN, VK_ESCAPE),
                     Post(WM_KEYDOWN, VK_RETURN, true), Post(WM_KEYDOWN, VK_ESCAPE, true),
                     Post(WM_COMMAND, ID_APP_EXIT)};
    EXPECT_EQ(window.DoModal(), IDOK);
}

TEST(MainWindow, TheCloseBoxEndsWithCancel)
{
    ModalMainWindow window;
    window.toPost = {Post(WM_SYSCOMMAND, SC_CLOSE)};
    EXPECT_EQ(window.DoModal(), IDCANCEL);
}

TEST(MainWindow, HelpWithoutAHelpFileSaysItFailed)
{
    auto window = OpenMainWindow();
    ASSERT_TRUE(window);
    Closer closer{window};
    std::vector<std::wstring> seen;
    DialogDriver driver(
        [&](HWND box, const std::wstring& caption)
        {
            seen.push_back(caption + L": " + DialogDriver::MessageOf(box));
            DialogDriver::Press(box, IDOK);
        },
        {window->m_hWnd});
    window->SendMessage(WM_COMMAND, ID_HELP_CONTENTS);
    window->SendMessage(WM_HELP, 0, 0); // F1 ends in the same place
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"ui_tests: Failed to launch help.",
                                               L"ui_tests: Failed to launch help."}));
}

TEST(MainWindow, AColourChosenInTheColourDialogGoesToBothPanelsAndCancelChangesNothing)
{
    auto window = OpenMainWindow();
    ASSERT_TRUE(window);
    Closer closer{window};
    bool typeColour = true;
    DialogDriver driver(
        [&](HWND dialog, const std::wstring&)
        {
            if (!typeColour)
            {
                DialogDriver::Press(dialog, IDCANCEL);
                return;
            }
            SetDlgItemTextW(dialog, 706, L"10"); // red, green and blue of the full dialog
            SetDlgItemTextW(dialog, 707, L"20");
            SetDlgItemTextW(dialog, 708, L"30");
            DialogDriver::Press(dialog, IDOK);
        },
        {window->m_hWnd});
    window->SendMessage(WM_COMMAND, ID_VIEW_BACKGROUND_COLOUR);
    EXPECT_EQ(window->panel1.backgroundColour, RGB(10, 20, 30));
    EXPECT_EQ(window->panel2.backgroundColour, RGB(10, 20, 30));
    EXPECT_EQ(window->panel1.textColour, DEFAULT_TEXT_COLOUR);

    typeColour = false;
    window->SendMessage(WM_COMMAND, ID_VIEW_TEXT_COLOUR);
    EXPECT_EQ(window->panel1.textColour, DEFAULT_TEXT_COLOUR);
    EXPECT_EQ(window->panel2.textColour, DEFAULT_TEXT_COLOUR);
}

TEST(MainWindow, AFontChosenInTheFontDialogGoesToBothPanels)
{
    auto window = OpenMainWindow();
    ASSERT_TRUE(window);
    Closer closer{window};
    const HFONT before = window->panel1.ReadingFont();
    DialogDriver driver([&](HWND dialog, const std::wstring&)
                        { DialogDriver::Press(dialog, IDOK); },
                        {window->m_hWnd});
    window->SendMessage(WM_COMMAND, ID_VIEW_FONT);
    EXPECT_NE(window->panel1.ReadingFont(), before);
    EXPECT_NE(window->panel1.ReadingFont(), window->panel2.ReadingFont())
        << "each panel owns its font";
    EXPECT_EQ(std::memcmp(&window->panel1.logFont, &window->panel2.logFont, sizeof(LOGFONTW)), 0);
}

TEST(MainWindow, AStoredPortThatFailsIsReportedAtStartAndThePortDialogFollowsOnceShown)
{
    std::vector<std::wstring> seen;
    DialogDriver driver(
        [&](HWND dialog, const std::wstring& caption)
        {
            if (caption == L"QM7xx" || caption.empty())
                return; // the main window itself, once shown, and the port scan's wait dialog
            seen.push_back(caption == L"Port szeregowy" ? caption
                                                        : DialogDriver::MessageOf(dialog));
            DialogDriver::Press(dialog, caption == L"Port szeregowy" ? IDCANCEL : IDOK);
        });
    auto window = std::make_unique<CMainDlg>();
    window->portNr = 77;
    ASSERT_TRUE(window->Create());
    Closer closer{window};
    ASSERT_EQ(seen.size(), 1u) << "the message comes before the window is shown";
    EXPECT_EQ(seen[0], L"Nie mo\x017C"
                       L"na otworzy\x0107 portu COM77");
    EXPECT_EQ(window->portNr, 77) << "the stored port is kept";
    EXPECT_EQ(window->serialPort, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return seen.size() == 2; }, 3000));
    EXPECT_EQ(seen.back(), L"Port szeregowy");
    EXPECT_EQ(window->portNr, 77) << "cancelling the dialog changes nothing";
}

} // namespace
