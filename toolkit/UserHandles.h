#pragma once

// Owners for a window the program creates itself (not a dialog's control), an icon or cursor made
// by CopyIcon, and a loaded module. Move-only; each frees what it holds exactly once.

#include "toolkit/UniqueOwner.h"

#include <windows.h>

struct WindowTraits
{
    // A window may already be gone with its owner; destroying it again would hit a stale handle.
    static void Free(HWND hwnd)
    {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    }
};
struct IconTraits
{
    static void Free(HICON icon) { DestroyIcon(icon); }
};
struct ModuleTraits
{
    static void Free(HMODULE module) { FreeLibrary(module); }
};

using UniqueWindow = UniqueOwner<HWND, WindowTraits>;
using UniqueIcon = UniqueOwner<HICON, IconTraits>; // icons and cursors from CopyIcon
using UniqueModule = UniqueOwner<HMODULE, ModuleTraits>;
