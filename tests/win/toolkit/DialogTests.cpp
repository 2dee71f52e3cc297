#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"
#include "tests/win/support/DialogTemplate.h"
#include "tests/win/support/MessagePump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace
{

constexpr WORD ID_EDIT = 100;
constexpr WORD ID_BUTTON = 101;
constexpr WORD ID_LABEL = 102;
constexpr UINT WM_TEST_END = WM_APP + 1;

DialogTemplate StandardTemplate(DWORD extraStyle = 0)
{
    DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | extraStyle, 200, 100, L"probe");
    t.Add(L"EDIT", ID_EDIT, WS_BORDER | WS_TABSTOP, 5, 5, 100, 12)
        .Add(L"BUTTON", ID_BUTTON, BS_PUSHBUTTON | WS_TABSTOP, 5, 25, 50, 14, L"press")
        .Add(L"STATIC", ID_LABEL, SS_LEFT, 5, 45, 100, 8, L"label");
    return t;
}

// A control that records what reaches it and may keep notifications from its parent.
class RecordingControl : public CWnd
{
public:
    std::vector<std::string>* log = nullptr;
    std::string name;
    bool swallowNotifications = false;
    bool swallowKeys = false;
    HBRUSH colourBrush = nullptr;

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN && log)
            log->push_back(name + ".pretranslate");
        return swallowKeys && msg->message == WM_KEYDOWN;
    }

protected:
    bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) override
    {
        if (msg == WM_COMMAND && log)
            log->push_back(name + ".reflected " + std::to_string(HIWORD(wParam)));
        if (msg == WM_CTLCOLORSTATIC && colourBrush)
        {
            *result = reinterpret_cast<LRESULT>(colourBrush);
            return true;
        }
        if (msg == WM_COMMAND && swallowNotifications)
        {
            *result = 0;
            return true;
        }
        return false;
    }
    void OnAttached() override
    {
        if (log)
            log->push_back(name + ".attached");
    }
};

class ProbeDialog : public CDialog
{
public:
    using CDialog::CDialog;

    std::vector<std::string> log;
    std::vector<UINT> beforeInit;
    bool initialised = false;
    std::function<void(ProbeDialog&)> onInit;
    std::function<void(ProbeDialog&)> onDestroy;
    std::function<void(ProbeDialog&)> onTimer;
    RecordingControl edit, button, label;
    bool swallowKeys = false;

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN)
            log.push_back("dialog.pretranslate");
        return swallowKeys && msg->message == WM_KEYDOWN;
    }

protected:
    void BindControls() override
    {
        for (RecordingControl* c : {&label, &edit, &button})
            c->log = &log;
        label.name = "label";
        edit.name = "edit";
        button.name = "button";
        BindControl(ID_LABEL, label);
        BindControl(ID_EDIT, edit);
        BindControl(ID_BUTTON, button);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        initialised = true;
        if (onInit)
            onInit(*this);
        return TRUE;
    }
    bool OnCommand(UINT id, UINT code, HWND control) override
    {
        log.push_back("dialog.command " + std::to_string(id) + " " + std::to_string(code));
        return CDialog::OnCommand(id, code, control);
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (!initialised)
            beforeInit.push_back(msg);
        if (msg == WM_TEST_END)
        {
            EndDialog(static_cast<INT_PTR>(wParam));
            return 0;
        }
        if (msg == WM_KEYDOWN)
            log.push_back("dialog.keydown");
        if (msg == WM_TIMER && onTimer)
            onTimer(*this);
        if (msg == WM_DESTROY && onDestroy)
            onDestroy(*this);
        return CDialog::WindowProc(msg, wParam, lParam);
    }
};

TEST(Dialog, ModalRunSeesItsCreationBindsControlsInOrderAndAnswersTheEndDialogResult)
{
    DialogTemplate t = StandardTemplate();
    ProbeDialog dialog(t.Get());
    dialog.onInit = [](ProbeDialog& d) { d.PostMessage(WM_TEST_END, 42); };
    EXPECT_EQ(dialog.DoModal(), 42);
    const std::vector<std::string> firstThree(dialog.log.begin(), dialog.log.begin() + 3);
    EXPECT_EQ(firstThree,
              (std::vector<std::string>{"label.attached", "edit.attached", "button.attached"}));
    EXPECT_EQ(dialog.m_hWnd, nullptr) << "the dialog window is destroyed after the run";
    EXPECT_EQ(dialog.edit.m_hWnd, nullptr) << "controls are unbound when their windows go";
    for (UINT creation : {WM_NCCREATE, WM_SIZE, WM_MOVE})
        EXPECT_NE(std::find(dialog.beforeInit.begin(), dialog.beforeInit.end(), creation),
                  dialog.beforeInit.end())
            << "the object sees message " << creation << " of its creation";
}

TEST(Dialog, OwnerIsDisabledFromCreationOnAndEnabledBeforeTheDialogIsDestroyed)
{
    DialogTemplate ownerTemplate = StandardTemplate(WS_VISIBLE);
    ProbeDialog owner(ownerTemplate.Get());
    ASSERT_TRUE(owner.Create());

    DialogTemplate t = StandardTemplate();
    ProbeDialog dialog(t.Get(), &owner);
    BOOL enabledAtInit = TRUE, enabledDuringRun = TRUE, enabledAtDestroy = FALSE,
         visibleDuringRun = FALSE;
    dialog.onInit = [&](ProbeDialog& d)
    {
        enabledAtInit = IsWindowEnabled(owner.m_hWnd);
        d.SetTimer(1, 1);
    };
    dialog.onTimer = [&](ProbeDialog& d)
    {
        d.KillTimer(1);
        enabledDuringRun = IsWindowEnabled(owner.m_hWnd);
        visibleDuringRun = d.IsWindowVisible();
        d.EndDialog(IDOK);
    };
    dialog.onDestroy = [&](ProbeDialog&) { enabledAtDestroy = IsWindowEnabled(owner.m_hWnd); };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(enabledAtInit) << "no command of the owner may run while the dialog is made";
    EXPECT_FALSE(enabledDuringRun);
    EXPECT_TRUE(visibleDuringRun) << "a template that is not created visible is shown by the run";
    EXPECT_TRUE(enabledAtDestroy);
    DestroyWindow(owner.m_hWnd);
}

TEST(Dialog, KeysPassThePreTranslateChainFromTheTargetUpToTheDialog)
{
    DialogTemplate t = StandardTemplate();
    ProbeDialog dialog(t.Get());
    dialog.onInit = [](ProbeDialog& d)
    {
        ::PostMessageW(d.edit.m_hWnd, WM_KEYDOWN, VK_F5, 0);
        d.PostMessage(WM_TEST_END, IDOK);
    };
    dialog.DoModal();
    const std::vector<std::string> expected{"edit.pretranslate", "dialog.pretranslate"};
    std::vector<std::string> keys;
    for (const std::string& entry : dialog.log)
        if (entry.find("pretranslate") != std::string::npos)
            keys.push_back(entry);
    EXPECT_EQ(keys, expected);
}

TEST(Dialog, ASwallowedKeyReachesNeitherIsDialogMessageNorTheWindow)
{
    DialogTemplate t = StandardTemplate();
    ProbeDialog dialog(t.Get());
    dialog.swallowKeys = true;
    dialog.onInit = [](ProbeDialog& d)
    {
        // Esc would end the dialog through IsDialogMessage if it got that far.
        d.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        d.PostMessage(WM_TEST_END, 7);
    };
    EXPECT_EQ(dialog.DoModal(), 7);
    EXPECT_EQ(std::count(dialog.log.begin(), dialog.log.end(), "dialog.keydown"), 0);
}

TEST(Dialog, NotificationsAreOfferedToTheBoundControlFirst)
{
    DialogTemplate t = StandardTemplate();
    ProbeDialog dialog(t.Get());
    dialog.onInit = [](ProbeDialog& d)
    {
        d.button.SendMessage(BM_CLICK); // reflected, then seen by the dialog
        d.button.swallowNotifications = true;
        d.button.SendMessage(BM_CLICK); // reflected and kept from the dialog
        d.PostMessage(WM_TEST_END, IDOK);
    };
    dialog.DoModal();
    std::vector<std::string> commands;
    for (const std::string& entry : dialog.log)
        if (entry.rfind("button.reflected", 0) == 0 ||
            entry.rfind("dialog.command " + std::to_string(ID_BUTTON), 0) == 0)
            commands.push_back(entry);
    const std::string click = std::to_string(BN_CLICKED);
    const std::vector<std::string> expected{
        "button.reflected " + click, "dialog.command " + std::to_string(ID_BUTTON) + " " + click,
        "button.reflected " + click};
    EXPECT_EQ(commands, expected);
}

TEST(Dialog, ColourQueryOfABoundStaticIsAnsweredByTheStatic)
{
    DialogTemplate t = StandardTemplate();
    ProbeDialog dialog(t.Get());
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    LRESULT answered = 0, unbound = 0;
    dialog.label.colourBrush = brush;
    dialog.onInit = [&](ProbeDialog& d)
    {
        HDC dc = GetDC(d.label.m_hWnd);
        answered = d.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(d.label.m_hWnd));
        unbound = d.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                reinterpret_cast<LPARAM>(d.GetDlgItem(ID_EDIT)));
        ReleaseDC(d.label.m_hWnd, dc);
        d.PostMessage(WM_TEST_END, IDOK);
    };
    dialog.DoModal();
    EXPECT_EQ(answered, reinterpret_cast<LRESULT>(brush));
    EXPECT_NE(unbound, reinterpret_cast<LRESULT>(brush));
    DeleteObject(brush);
}

TEST(Dialog, QuitMessageEndsTheRunAndIsPassedOn)
{
    DialogTemplate t = StandardTemplate();
    ProbeDialog dialog(t.Get());
    dialog.onInit = [](ProbeDialog&) { PostQuitMessage(7); };
    EXPECT_EQ(dialog.DoModal(), -1);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST(Dialog, MissingTemplateFailsWithMinusOneAndLeavesTheOwnerEnabled)
{
    DialogTemplate ownerTemplate = StandardTemplate(WS_VISIBLE);
    ProbeDialog owner(ownerTemplate.Get());
    ASSERT_TRUE(owner.Create());
    CDialog dialog(static_cast<UINT>(4242), &owner);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    DestroyWindow(owner.m_hWnd);
}

// Where a dialog opens, for an owner in each state a user can leave it in.
TEST(Dialog, OpensInsideTheWorkAreaAndOnAnOwnerOnlyWhenTheOwnerCanBeSeen)
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const auto inside = [&](const RECT& r)
    {
        return r.left >= work.left && r.top >= work.top && r.right <= work.right &&
               r.bottom <= work.bottom;
    };
    const struct
    {
        const char* owner;
        int x, y;
        int show;
        bool centredOnOwner;
    } cases[] = {
        {"visible", 100, 100, SW_SHOWNORMAL, true},
        {"minimised", 100, 100, SW_MINIMIZE, false},
        {"hidden", 100, 100, SW_HIDE, false},
        {"partly off the right edge", work.right - 150, 300, SW_SHOWNORMAL, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.owner);
        DialogTemplate ownerTemplate = StandardTemplate();
        ProbeDialog owner(ownerTemplate.Get());
        ASSERT_TRUE(owner.Create());
        SetWindowPos(owner.m_hWnd, nullptr, c.x, c.y, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
        owner.ShowWindow(c.show);
        DialogTemplate t = StandardTemplate();
        ProbeDialog dialog(t.Get(), &owner);
        RECT placed{};
        dialog.onInit = [&](ProbeDialog& d) { d.SetTimer(1, 1); };
        dialog.onTimer = [&](ProbeDialog& d)
        {
            placed = d.GetWindowRect();
            d.EndDialog(IDOK);
        };
        dialog.DoModal();
        EXPECT_TRUE(inside(placed)) << placed.left << "," << placed.top;
        if (c.centredOnOwner)
        {
            EXPECT_NEAR((placed.left + placed.right) / 2, c.x + 200, 1);
            EXPECT_NEAR((placed.top + placed.bottom) / 2, c.y + 150, 1);
        }
        DestroyWindow(owner.m_hWnd);
    }
}

TEST(Wnd, AnObjectDestroyedBeforeItsWindowLeavesTheWindowWorking)
{
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"text", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    {
        CStatic bound;
        ASSERT_TRUE(bound.SubclassWindow(hwnd));
        EXPECT_EQ(CWnd::FromHandle(hwnd), &bound);
        CStatic second;
        EXPECT_FALSE(second.SubclassWindow(hwnd)) << "one object per window";
    }
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
    wchar_t text[16] = {};
    EXPECT_EQ(GetWindowTextW(hwnd, text, 16), 4);
    DestroyWindow(hwnd);
}

} // namespace
