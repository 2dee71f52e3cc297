// A WH_GETMESSAGE hook, loaded into the program under test, that answers questions about the
// state of the main window's menu items (see MenuStateProtocol.h). Built without a C runtime.

#include "tests/e2e/MenuStateProtocol.h"

#include <windows.h>

extern "C" BOOL WINAPI DllEntry(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    MenuStateGetMessageHook(int code, WPARAM removal, LPARAM message)
{
    MSG* msg = reinterpret_cast<MSG*>(message);
    if (code == HC_ACTION && removal == PM_REMOVE &&
        msg->message == RegisterWindowMessageW(MENU_STATE_QUESTION))
    {
        const UINT state =
            GetMenuState(GetMenu(msg->hwnd), static_cast<UINT>(msg->wParam), MF_BYCOMMAND);
        PostThreadMessageW(static_cast<DWORD>(msg->lParam),
                           RegisterWindowMessageW(MENU_STATE_ANSWER), msg->wParam,
                           static_cast<LPARAM>(state));
        msg->message = WM_NULL; // the program never sees the question
    }
    return CallNextHookEx(nullptr, code, removal, message);
}
