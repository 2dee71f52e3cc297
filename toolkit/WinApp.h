#pragma once

// CWinApp: the one application object. The program derives from it, constructs one instance
// before its entry code runs, and does its whole work in InitInstance.

#include "toolkit/Wnd.h"

#include <string>

class CWinApp
{
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    static CWinApp* Get() { return current_; }
    static HINSTANCE ResourceInstance();
    // The executable's base name without extension: the caption of every message box.
    static std::wstring AppName();
    // The executable's full path with its extension replaced by ".HLP".
    static std::wstring HelpFilePath();

    // Runs InitInstance and answers the process exit code.
    int Run();

    virtual BOOL InitInstance() { return FALSE; }

    CWnd* m_pMainWnd = nullptr;

private:
    static CWinApp* current_;
};

// The owner of the program's message boxes: the main window's last active popup, or the main
// window itself; the active window of this thread when there is no main window.
HWND MessageBoxOwner();

// The application message box: caption = AppName(); MB_ICONEXCLAMATION is added when the type
// names no icon. Text is UTF-8. Owned by MessageBoxOwner().
int AppMessageBox(const std::string& text, UINT type = MB_OK);

// WinHelp on the program's help file; "Failed to launch help." when the file is missing or the
// help engine fails.
bool LaunchHelp(HWND owner, UINT command, ULONG_PTR data);
