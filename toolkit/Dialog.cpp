#include "toolkit/Dialog.h"

#include "toolkit/WinApp.h"

namespace
{

// The dialog object being created on this thread. A CBT hook binds it to its window before the
// window sees its first message, so that even the WM_SIZE and WM_MOVE of creation reach it.
thread_local CDialog* creatingDialog = nullptr;

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE; // everything is handled in the bound object's WindowProc, before DefDlgProc
}

class ScopedCbtHook
{
public:
    ScopedCbtHook(CDialog* dialog, HOOKPROC hook)
    {
        creatingDialog = dialog;
        hook_ = SetWindowsHookExW(WH_CBT, hook, nullptr, GetCurrentThreadId());
    }
    ~ScopedCbtHook()
    {
        if (hook_)
            UnhookWindowsHookEx(hook_);
        creatingDialog = nullptr;
    }
    ScopedCbtHook(const ScopedCbtHook&) = delete;
    ScopedCbtHook& operator=(const ScopedCbtHook&) = delete;

private:
    HHOOK hook_ = nullptr;
};

} // namespace

LRESULT CALLBACK CDialog::CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && creatingDialog)
    {
        // The dialog is the first window of the dialog class created here; its controls follow
        // it, and the system may slip in windows of its own (an input method window) before it.
        const CREATESTRUCTW* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam)->lpcs;
        if (create->lpszClass == WC_DIALOG)
        {
            CDialog* dialog = creatingDialog;
            creatingDialog = nullptr;
            dialog->BindDuringCreation(reinterpret_cast<HWND>(wParam));
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

CDialog::CDialog(UINT templateId, CWnd* parent) : templateId_(templateId), parent_(parent) {}

CDialog::CDialog(const DLGTEMPLATE* dialogTemplate, CWnd* parent)
    : template_(dialogTemplate), parent_(parent)
{
}

HWND CDialog::CreateWindowFromTemplate(HWND owner)
{
    ScopedCbtHook hook(this, &CDialog::CreationHook);
    HINSTANCE instance = CWinApp::ResourceInstance();
    HWND hwnd = template_
                    ? CreateDialogIndirectParamW(instance, template_, owner, PlainDialogProc, 0)
                    : CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId_), owner,
                                         PlainDialogProc, 0);
    if (!hwnd && m_hWnd)
        UnsubclassWindow(); // creation failed after binding (WM_INITDIALOG answered -1 and so on)
    return hwnd;
}

bool CDialog::Create(CWnd* parent)
{
    if (parent)
        parent_ = parent;
    return CreateWindowFromTemplate(parent_ ? parent_->m_hWnd : nullptr) != nullptr;
}

INT_PTR CDialog::DoModal()
{
    HWND owner = parent_ ? parent_->m_hWnd : nullptr;
    ended_ = false;
    result_ = -1;
    // The owner is disabled before the dialog exists: a dialog may run work of its own while it
    // is being created (the port dialog scans for ports from WM_CREATE).
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    HWND hwnd = CreateWindowFromTemplate(owner);
    if (!hwnd)
    {
        if (ownerWasEnabled)
            EnableWindow(owner, TRUE);
        return -1;
    }

    if (!ended_ && !::IsWindowVisible(hwnd))
    {
        // A template that is not created visible is centred on its owner (or the screen).
        RECT mine{}, around{};
        ::GetWindowRect(hwnd, &mine);
        if (!owner || !::GetWindowRect(owner, &around))
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
        const int width = mine.right - mine.left, height = mine.bottom - mine.top;
        const int x = around.left + (around.right - around.left - width) / 2;
        const int y = around.top + (around.bottom - around.top - height) / 2;
        SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::ShowWindow(hwnd, SW_SHOW);
    }

    RunModalLoop();

    // Enable the owner before the dialog disappears so that activation returns to it.
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    if (::IsWindow(hwnd))
        DestroyWindow(hwnd);
    return result_;
}

void CDialog::RunModalLoop()
{
    inModalLoop_ = true;
    MSG msg;
    while (!ended_ && m_hWnd)
    {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0)
        {
            PostQuitMessage(static_cast<int>(msg.wParam)); // leave WM_QUIT for the loop outside
            break;
        }
        if (got == -1)
            break;
        if (PreTranslateChain(&msg))
            continue;
        if (m_hWnd && IsDialogMessageW(m_hWnd, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    inModalLoop_ = false;
}

bool CDialog::PreTranslateChain(MSG* msg)
{
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd))
    {
        if (CWnd* target = FromHandle(hwnd); target && target->PreTranslateMessage(msg))
            return true;
        if (hwnd == m_hWnd)
            break;
    }
    return false;
}

void CDialog::EndDialog(INT_PTR result)
{
    result_ = result;
    ended_ = true;
    if (m_hWnd)
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0); // wake the loop if this came from outside a dispatch
}

BOOL CDialog::OnInitDialog()
{
    BindControls();
    return TRUE;
}

bool CDialog::OnCommand(UINT id, UINT, HWND)
{
    switch (id)
    {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
            return 0;
        break;
    default:
        break;
    }
    return Default(msg, wParam, lParam);
}
