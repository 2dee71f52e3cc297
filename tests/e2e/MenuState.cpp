#include "tests/e2e/MenuState.h"

#include "tests/e2e/MenuStateProtocol.h"

MenuStateReader::MenuStateReader(HWND window, const std::wstring& hookDll)
    : window_(window), question_(RegisterWindowMessageW(MENU_STATE_QUESTION)),
      answer_(RegisterWindowMessageW(MENU_STATE_ANSWER))
{
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); // the answers need this thread's queue
    dll_ = LoadLibraryW(hookDll.c_str());
    if (!dll_)
        return;
    const auto proc =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll_, MENU_HOOK_PROC)));
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (proc && thread)
        hook_ = SetWindowsHookExW(WH_GETMESSAGE, proc, dll_, thread);
}

MenuStateReader::~MenuStateReader()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
    if (dll_)
        FreeLibrary(dll_);
}

std::optional<UINT> MenuStateReader::State(UINT commandId, DWORD timeoutMs) const
{
    if (!hook_ || !PostMessageW(window_, question_, commandId, GetCurrentThreadId()))
        return std::nullopt;
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, answer_, answer_, PM_REMOVE))
        {
            if (msg.wParam == commandId)
                return static_cast<UINT>(msg.lParam);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_POSTMESSAGE);
    } while (GetTickCount64() < end);
    return std::nullopt;
}

std::optional<bool> MenuStateReader::Checked(UINT commandId) const
{
    const std::optional<UINT> state = State(commandId);
    if (!state || *state == static_cast<UINT>(-1))
        return std::nullopt;
    return (*state & MF_CHECKED) != 0;
}
