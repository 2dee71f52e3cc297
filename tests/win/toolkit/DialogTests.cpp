#include "tests/win/support/DialogDriver.h"
#include "tests/win/support/DialogTemplate.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace
{

constexpr WORD ID_EDIT = 100;
constexpr WORD ID_BUTTON = 101;

// A control that logs the keys offered to it and the clicks reflected to it; it answers colour
// queries with the highlight brush and may keep its clicks from its parent.
class RecordingControl : public CWnd
{
public:
    RecordingControl(std::vector<std::string>& log, const char* name) : log_(log), name_(name) {}

    bool keepNotifications = false;

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN)
            log_.push_back(name_ + ".pretranslate");
        return FALSE;
    }

protected:
    bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) override
    {
        if (msg == WM_CTLCOLORSTATIC)
        {
            *result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_HIGHLIGHT));
            return true;
        }
        const bool click = msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED;
        if (click)
            log_.push_back(name_ + ".clicked");
        return click && keepNotifications;
    }
    void OnAttached() override { log_.push_back(name_ + ".attached"); }

private:
    std::vector<std::string>& log_;
    std::string name_;
};

// A dialog with an edit and a button, bound button first, that logs what reaches it and keeps Esc
// to itself. Once its loop runs it calls inLoop, then presses OK.
class ProbeDialog : public CDialog
{
public:
    explicit ProbeDialog(CWnd* owner = nullptr) : CDialog(Layout().Get(), owner) {}

    std::vector<std::string> log;
    std::vector<UINT> seen;              // every message, in order
    std::map<UINT, bool> ownerEnabledAt; // the owner's state when each message first came
    std::function<void()> inLoop = [] {};
    RecordingControl edit{log, "edit"}, button{log, "button"};

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message != WM_KEYDOWN)
            return FALSE;
        log.push_back("dialog.pretranslate");
        return msg->wParam == VK_ESCAPE;
    }

protected:
    void BindControls() override
    {
        BindControl(ID_BUTTON, button);
        BindControl(ID_EDIT, edit);
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(msg);
        ownerEnabledAt.emplace(msg, IsWindowEnabled(::GetWindow(m_hWnd, GW_OWNER)));
        if (msg == WM_INITDIALOG)
            PostMessage(WM_APP);
        if (msg == WM_APP)
        {
            inLoop();
            DialogDriver::Press(m_hWnd, IDOK);
        }
        if (msg == WM_COMMAND && LOWORD(wParam) == ID_BUTTON)
            log.push_back("dialog.command");
        return CDialog::WindowProc(msg, wParam, lParam);
    }

private:
    static const DialogTemplate& Layout()
    {
        static const DialogTemplate layout =
            DialogTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 100, L"probe")
                .Add(L"EDIT", ID_EDIT, WS_BORDER | WS_TABSTOP, 5, 5, 100, 12)
                .Add(L"BUTTON", ID_BUTTON, BS_PUSHBUTTON | WS_TABSTOP, 5, 25, 50, 14, L"press");
        return layout;
    }
};

TEST(Dialog, ModalRunOwnsItsWindowFromCreationOnWithTheOwnerDisabledUntilJustBeforeTheEnd)
{
    ProbeDialog owner;
    ASSERT_TRUE(owner.Create());
    ProbeDialog dialog(&owner);
    dialog.inLoop = [&] { dialog.EndDialog(42); };
    EXPECT_EQ(dialog.DoModal(), 42);
    const auto at = [&](UINT msg)
    { return std::find(dialog.seen.begin(), dialog.seen.end(), msg) - dialog.seen.begin(); };
    for (UINT creation : {WM_NCCREATE, WM_SIZE, WM_MOVE})
        EXPECT_LT(at(creation), at(WM_INITDIALOG)) << "the object sees message " << creation;
    EXPECT_LT(at(WM_SHOWWINDOW), at(WM_APP)) << "a template not created visible is shown";
    for (UINT msg : {WM_NCCREATE, WM_INITDIALOG, WM_APP})
        EXPECT_FALSE(dialog.ownerEnabledAt[msg]) << "owner enabled at message " << msg;
    EXPECT_TRUE(dialog.ownerEnabledAt[WM_DESTROY]) << "activation goes back to the owner";
    EXPECT_EQ(dialog.seen.back(), static_cast<UINT>(WM_NCDESTROY)) << "its window is destroyed";
    EXPECT_EQ(dialog.edit.m_hWnd, nullptr) << "controls are unbound when their windows go";

    CDialog missing(4242u, &owner);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd)) << "a dialog that cannot be made gives it back";
    DestroyWindow(owner.m_hWnd);
}

TEST(Dialog, KeysPassThePreTranslateChainAndNotificationsReachTheBoundControlFirst)
{
    ProbeDialog dialog;
    dialog.inLoop = [&]
    {
        dialog.edit.PostMessage(WM_KEYDOWN, VK_F5);
        dialog.PostMessage(WM_KEYDOWN, VK_ESCAPE); // would cancel the dialog if not kept
        dialog.button.SendMessage(BM_CLICK);
        dialog.button.keepNotifications = true;
        dialog.button.SendMessage(BM_CLICK);
        EXPECT_EQ(dialog.SendMessage(WM_CTLCOLORSTATIC, 0,
                                     reinterpret_cast<LPARAM>(dialog.button.m_hWnd)),
                  reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_HIGHLIGHT)));
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.log,
              (std::vector<std::string>{"button.attached", "edit.attached", "button.clicked",
                                        "dialog.command", "button.clicked", "edit.pretranslate",
                                        "dialog.pretranslate", "dialog.pretranslate"}));
    EXPECT_EQ(std::count(dialog.seen.begin(), dialog.seen.end(), WM_KEYDOWN), 0);
}

// Where a dialog opens, for an owner in each state a user can leave it in.
TEST(Dialog, OpensInsideTheWorkAreaAndOnAnOwnerOnlyWhenTheOwnerCanBeSeen)
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const POINT onWork{(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    // The owner's left edge and state; the dialog's centre (none for an owner partly off-screen:
    // the dialog is only kept inside).
    const std::tuple<int, int, POINT> cases[] = {{100, SW_SHOWNORMAL, {300, 250}},
                                                 {100, SW_MINIMIZE, onWork},
                                                 {100, SW_HIDE, onWork},
                                                 {work.right - 150, SW_SHOWNORMAL, {}}};
    for (const auto& [x, show, centre] : cases)
    {
        ProbeDialog owner;
        ASSERT_TRUE(owner.Create());
        SetWindowPos(owner.m_hWnd, nullptr, x, 100, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
        owner.ShowWindow(show);
        ProbeDialog dialog(&owner);
        RECT r{}, inside{};
        dialog.inLoop = [&] { r = dialog.GetWindowRect(); };
        dialog.DoModal();
        IntersectRect(&inside, &r, &work);
        EXPECT_TRUE(EqualRect(&inside, &r)) << r.left << "," << r.top;
        const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        EXPECT_TRUE(!centre.x || (std::abs(at.x - centre.x) <= 1 && std::abs(at.y - centre.y) <= 1))
            << "owner at " << x << " shown " << show << ": centred at " << at.x << "," << at.y;
        DestroyWindow(owner.m_hWnd);
    }
}

TEST(Wnd, AnObjectDestroyedBeforeItsWindowLeavesTheWindowWorking)
{
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"text", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    {
        CStatic bound, second;
        ASSERT_TRUE(bound.SubclassWindow(hwnd));
        EXPECT_FALSE(second.SubclassWindow(hwnd)) << "one object per window";
    }
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
    EXPECT_EQ(GetWindowTextLengthW(hwnd), 4);
    DestroyWindow(hwnd);
}

} // namespace
