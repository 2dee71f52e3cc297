#pragma once

// Reads the state of a menu item of another process's window. Windows lets any process read
// another's menu; Wine does not, so the question is answered from inside the program by a message
// hook (qm7xx_e2e_menuhook.dll) on the thread of its main window.

#include <windows.h>

#include <optional>
#include <string>

class MenuStateReader
{
public:
    // Hooks the thread that owns `window`. hookDll: full path of qm7xx_e2e_menuhook.dll.
    MenuStateReader(HWND window, const std::wstring& hookDll);
    ~MenuStateReader();
    MenuStateReader(const MenuStateReader&) = delete;
    MenuStateReader& operator=(const MenuStateReader&) = delete;

    bool Hooked() const { return hook_ != nullptr; }
    // GetMenuState of the item with this command id in the window's menu bar; nothing when the
    // program did not answer in time.
    std::optional<UINT> State(UINT commandId, DWORD timeoutMs = 3000) const;
    std::optional<bool> Checked(UINT commandId) const;

private:
    HWND window_ = nullptr;
    HMODULE dll_ = nullptr;
    HHOOK hook_ = nullptr;
    UINT question_ = 0;
    UINT answer_ = 0;
};
