#pragma once

// Owners for kernel handles and critical sections. Move-only; each closes what it holds exactly
// once.

#include "toolkit/UniqueOwner.h"

#include <windows.h>

struct KernelHandleTraits
{
    static void Free(HANDLE h)
    {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
};

// A kernel handle (event, thread, file, port). Both 0 and INVALID_HANDLE_VALUE mean "none".
class UniqueHandle : public UniqueOwner<HANDLE, KernelHandleTraits>
{
public:
    using UniqueOwner::UniqueOwner;

    bool Valid() const { return Get() != nullptr && Get() != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return Valid(); }
};

class CriticalSection
{
public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() { EnterCriticalSection(&section_); }
    void Leave() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

class CriticalSectionLock
{
public:
    explicit CriticalSectionLock(CriticalSection& section) : section_(section) { section_.Enter(); }
    ~CriticalSectionLock() { section_.Leave(); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    CriticalSection& section_;
};
