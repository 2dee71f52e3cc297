#pragma once

// Owners for a window the program creates itself (not a dialog's control), an icon or cursor made
// by CopyIcon, and a loaded module. Move-only; each frees what it holds exactly once.

#include <windows.h>

#include <utility>

template <typename T, typename Traits> class UniqueUserHandle
{
public:
    UniqueUserHandle() = default;
    explicit UniqueUserHandle(T handle) : handle_(handle) {}
    ~UniqueUserHandle() { Reset(); }

    UniqueUserHandle(UniqueUserHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueUserHandle& operator=(UniqueUserHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueUserHandle(const UniqueUserHandle&) = delete;
    UniqueUserHandle& operator=(const UniqueUserHandle&) = delete;

    T Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    T Release() { return std::exchange(handle_, nullptr); }
    void Reset(T handle = nullptr)
    {
        if (handle_)
            Traits::Free(handle_);
        handle_ = handle;
    }

private:
    T handle_ = nullptr;
};

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

using UniqueWindow = UniqueUserHandle<HWND, WindowTraits>;
using UniqueIcon = UniqueUserHandle<HICON, IconTraits>; // icons and cursors from CopyIcon
using UniqueModule = UniqueUserHandle<HMODULE, ModuleTraits>;
