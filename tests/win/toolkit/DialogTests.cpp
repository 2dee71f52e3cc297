#include "tests/win/support/DialogTemplate.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"

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
    RecordingControl(std::vector<std::string>* l, const char* n) : log(l), name(n) {}

    std::vector<std::string>* log;
    std::string name;
    bool swallowNotifications = false;
    HBRUSH colourBrush = nullptr;

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN)
            log->push_back(name + ".pretranslate");
        return FALSE;
    }

protected:
    bool OnChildNotify(UINT msg, WPARAM, LPARAM, LRESULT* result) override
    {
        if (msg == WM_CTLCOLORSTATIC && colourBrush)
        {
            *result = reinterpret_cast<LRESULT>(colourBrush);
            return true;
        }
        if (msg != WM_COMMAND)
            return false;
        log->push_back(name + ".reflected");
        *result = 0;
        return swallowNotifications;
    }
    void OnAttached() override { log->push_back(name + ".attached"); }
};

// A dialog whose test code runs once its modal loop is up (from a timer), and which logs what
// reaches it.
class ProbeDialog : public CDialog
{
public:
    explicit ProbeDialog(DialogTemplate& t, CWnd* owner = nullptr) : CDialog(t.Get(), owner) {}

    std::vector<std::string> log;
    std::vector<UINT> beforeInit;
    bool initialised = false;
    bool swallowKeys = false;
    std::function<void(ProbeDialog&)> onInit, inLoop, onDestroy;
    RecordingControl edit{&log, "edit"}, button{&log, "button"}, label{&log, "label"};

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message != WM_KEYDOWN)
            return FALSE;
        log.push_back("dialog.pretranslate");
        return swallowKeys;
    }

protected:
    void BindControls() override
    {
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
        SetTimer(1, 1);
        return TRUE;
    }
    bool OnCommand(UINT id, UINT code, HWND control) override
    {
        if (id == ID_BUTTON)
            log.push_back("dialog.command");
        return CDialog::OnCommand(id, code, control);
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (!initialised)
            beforeInit.push_back(msg);
        if (msg == WM_KEYDOWN)
            log.push_back("dialog.keydown");
        if (msg == WM_TIMER && wParam == 1)
        {
            KillTimer(1);
            EndDialog(IDOK);
            if (inLoop)
                inLoop(*this); // may end it otherwise
        }
        if (msg == WM_DESTROY && onDestroy)
            onDestroy(*this);
        return CDialog::WindowProc(msg, wParam, lParam);
    }
};

std::vector<std::string> Matching(const std::vector<std::string>& log, const std::string& part)
{
    std::vector<std::string> found;
    std::copy_if(log.begin(), log.end(), std::back_inserter(found),
                 [&](const std::string& entry) { return entry.find(part) != std::string::npos; });
    return found;
}

TEST(Dialog, ModalRunSeesItsCreationBindsControlsInOrderAndEndsWithTheEndDialogResult)
{
    DialogTemplate t = StandardTemplate();
    ProbeDialog dialog(t);
    dialog.inLoop = [](ProbeDialog& d) { d.EndDialog(42); };
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(Matching(dialog.log, "attached"),
              (std::vector<std::string>{"label.attached", "edit.attached", "button.attached"}));
    for (UINT creation : {WM_NCCREATE, WM_SIZE, WM_MOVE})
        EXPECT_NE(std::find(dialog.beforeInit.begin(), dialog.beforeInit.end(), creation),
                  dialog.beforeInit.end())
            << "the object sees message " << creation << " of its creation";
    EXPECT_EQ(dialog.m_hWnd, nullptr) << "the dialog window is destroyed after the run";
    EXPECT_EQ(dialog.edit.m_hWnd, nullptr) << "controls are unbound when their windows go";
}

TEST(Dialog, OwnerIsDisabledFromCreationOnAndEnabledBeforeTheDialogIsDestroyed)
{
    DialogTemplate ownerTemplate = StandardTemplate(WS_VISIBLE);
    ProbeDialog owner(ownerTemplate);
    ASSERT_TRUE(owner.Create());
    DialogTemplate t = StandardTemplate();
    ProbeDialog dialog(t, &owner);
    BOOL enabledAtInit = TRUE, enabledInLoop = TRUE, enabledAtDestroy = FALSE, shown = FALSE;
    dialog.onInit = [&](ProbeDialog&) { enabledAtInit = IsWindowEnabled(owner.m_hWnd); };
    dialog.inLoop = [&](ProbeDialog& d)
    {
        enabledInLoop = IsWindowEnabled(owner.m_hWnd);
        shown = d.IsWindowVisible();
    };
    dialog.onDestroy = [&](ProbeDialog&) { enabledAtDestroy = IsWindowEnabled(owner.m_hWnd); };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(enabledAtInit) << "no command of the owner may run while the dialog is made";
    EXPECT_FALSE(enabledInLoop);
    EXPECT_TRUE(shown) << "a template that is not created visible is shown by the run";
    EXPECT_TRUE(enabledAtDestroy);

    CDialog missing(static_cast<UINT>(4242), &owner);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd)) << "a dialog that cannot be made gives it back";
    DestroyWindow(owner.m_hWnd);
}

TEST(Dialog, KeysPassThePreTranslateChainAndASwallowedKeyGoesNoFurther)
{
    DialogTemplate t = StandardTemplate();
    ProbeDialog dialog(t);
    dialog.onInit = [](ProbeDialog& d) { ::PostMessageW(d.edit.m_hWnd, WM_KEYDOWN, VK_F5, 0); };
    dialog.DoModal();
    EXPECT_EQ(Matching(dialog.log, "pretranslate"),
              (std::vector<std::string>{"edit.pretranslate", "dialog.pretranslate"}));

    ProbeDialog swallowing(t);
    swallowing.swallowKeys = true;
    // Esc would end the dialog as cancelled through IsDialogMessage if it got that far.
    swallowing.onInit = [](ProbeDialog& d) { d.PostMessage(WM_KEYDOWN, VK_ESCAPE); };
    EXPECT_EQ(swallowing.DoModal(), IDOK);
    EXPECT_TRUE(Matching(swallowing.log, "keydown").empty());
}

TEST(Dialog, NotificationsAndColourQueriesAreOfferedToTheBoundControlFirst)
{
    DialogTemplate t = StandardTemplate();
    ProbeDialog dialog(t);
    const HBRUSH brush = GetSysColorBrush(COLOR_HIGHLIGHT);
    dialog.label.colourBrush = brush;
    LRESULT labelColour = 0, editColour = 0;
    dialog.inLoop = [&](ProbeDialog& d)
    {
        d.button.SendMessage(BM_CLICK); // reflected, then seen by the dialog
        d.button.swallowNotifications = true;
        d.button.SendMessage(BM_CLICK); // reflected and kept from the dialog
        const HDC dc = GetDC(d.m_hWnd);
        const auto query = [&](HWND control)
        {
            return d.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(control));
        };
        labelColour = query(d.label.m_hWnd);
        editColour = query(d.GetDlgItem(ID_EDIT));
        ReleaseDC(d.m_hWnd, dc);
    };
    dialog.DoModal();
    EXPECT_EQ(Matching(dialog.log, "button.reflected").size(), 2u);
    EXPECT_EQ(Matching(dialog.log, "command").size(), 1u) << "the second click was kept from it";
    EXPECT_EQ(labelColour, reinterpret_cast<LRESULT>(brush));
    EXPECT_NE(editColour, reinterpret_cast<LRESULT>(brush));
}

// Where a dialog opens, for an owner in each state a user can leave it in.
TEST(Dialog, OpensInsideTheWorkAreaAndOnAnOwnerOnlyWhenTheOwnerCanBeSeen)
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const struct
    {
        const char* owner;
        int x, y, show;
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
        ProbeDialog owner(ownerTemplate);
        ASSERT_TRUE(owner.Create());
        SetWindowPos(owner.m_hWnd, nullptr, c.x, c.y, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
        owner.ShowWindow(c.show);
        DialogTemplate t = StandardTemplate();
        ProbeDialog dialog(t, &owner);
        RECT r{};
        dialog.inLoop = [&](ProbeDialog& d) { r = d.GetWindowRect(); };
        dialog.DoModal();
        EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right &&
                    r.bottom <= work.bottom)
            << r.left << "," << r.top;
        if (c.centredOnOwner)
        {
            EXPECT_NEAR((r.left + r.right) / 2, c.x + 200, 1);
            EXPECT_NEAR((r.top + r.bottom) / 2, c.y + 150, 1);
        }
        DestroyWindow(owner.m_hWnd);
    }
}

TEST(Wnd, AnObjectDestroyedBeforeItsWindowLeavesTheWindowWorking)
{
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"text", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
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
