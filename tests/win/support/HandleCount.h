#pragma once

// The process's open kernel handles, found by asking about each handle value in turn:
// GetProcessHandleCount answers 0 under Wine.

#include <windows.h>

inline int HandleCount()
{
    int count = 0;
    DWORD flags = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4)
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    return count;
}
