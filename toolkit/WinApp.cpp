#include "toolkit/WinApp.h"

#include "toolkit/TextConv.h"

#include <vector>

CWinApp* CWinApp::current_ = nullptr;

CWinApp::CWinApp()
{
    current_ = this;
}

CWinApp::~CWinApp()
{
    if (current_ == this)
        current_ = nullptr;
}

HINSTANCE CWinApp::ResourceInstance()
{
    return GetModuleHandleW(nullptr);
}

namespace
{

std::wstring ModulePath()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;)
    {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size())
            return std::wstring(path.data(), n);
        path.resize(path.size() * 2); // truncated: try a larger buffer
    }
}

size_t BaseNameStart(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/:");
    return slash == std::wstring::npos ? 0 : slash + 1;
}

size_t ExtensionStart(const std::wstring& path)
{
    const size_t dot = path.find_last_of(L'.');
    return dot == std::wstring::npos || dot < BaseNameStart(path) ? path.size() : dot;
}

} // namespace

std::wstring CWinApp::AppName()
{
    const std::wstring path = ModulePath();
    const size_t start = BaseNameStart(path);
    return path.substr(start, ExtensionStart(path) - start);
}

std::wstring CWinApp::HelpFilePath()
{
    const std::wstring path = ModulePath();
    return path.substr(0, ExtensionStart(path)) + L".HLP";
}

int CWinApp::Run()
{
    // The program does its whole work inside InitInstance (its main window runs modally there), so
    // the toolkit needs no message loop of its own whatever InitInstance answers.
    InitInstance();
    return 0;
}

HWND MessageBoxOwner()
{
    // The main window, or the popup of it that was last active (a dialog it runs), whether or not
    // the program is the active application: the box then disables it, so that no command of the
    // main window can run under the box.
    const CWinApp* app = CWinApp::Get();
    HWND main = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    if (!main || !IsWindow(main))
        return GetActiveWindow();
    HWND popup = GetLastActivePopup(main);
    return popup && IsWindowEnabled(popup) ? popup : main;
}

int AppMessageBox(const std::string& text, UINT type)
{
    if ((type & MB_ICONMASK) == 0)
        type |= MB_ICONEXCLAMATION;
    const std::wstring caption = CWinApp::AppName();
    return MessageBoxW(MessageBoxOwner(), Utf8ToWide(text).c_str(), caption.c_str(), type);
}

bool LaunchHelp(HWND owner, UINT command, ULONG_PTR data)
{
    const std::wstring helpFile = CWinApp::HelpFilePath();
    // Without the file there is nothing to show; asking the help engine anyway leaves it (Wine's
    // winhlp32 in particular) holding the caller until its own error box is answered.
    if (GetFileAttributesW(helpFile.c_str()) != INVALID_FILE_ATTRIBUTES &&
        WinHelpW(owner, helpFile.c_str(), command, data))
        return true;
    AppMessageBox("Failed to launch help.");
    return false;
}
