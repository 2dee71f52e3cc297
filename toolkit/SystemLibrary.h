#pragma once

// Libraries of the system folder only: a DLL that happens to lie next to the program (or in the
// current folder) is never loaded in the system's place.

#include <windows.h>

#include <string>

// From now on the process looks for DLLs in the system folder only, where the system can be told
// so (Windows 8, and 7 with its update); elsewhere every load names the system folder itself.
inline void RestrictDllSearchToSystem()
{
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto set = kernel ? reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
                                  GetProcAddress(kernel, "SetDefaultDllDirectories")))
                            : nullptr;
    if (set)
        set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// A library of the system folder, loaded for the life of this object.
class SystemLibrary
{
public:
    explicit SystemLibrary(const wchar_t* name)
    {
        wchar_t folder[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            module_ = LoadLibraryW((std::wstring(folder) + L"\\" + name).c_str());
    }
    ~SystemLibrary()
    {
        if (module_)
            FreeLibrary(module_);
    }
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    explicit operator bool() const { return module_ != nullptr; }

    // The function of this name, typed as its declaration; null when the library lacks it.
    template <typename Function> Function* Find(const char* name) const
    {
        return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

private:
    HMODULE module_ = nullptr;
};
