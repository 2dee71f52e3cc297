#include "tests/e2e/E2eConfig.h"

#include "toolkit/TextConv.h"

#include <algorithm>

std::wstring WindowsPath(const std::string& buildPath)
{
    std::wstring path = Utf8ToWide(buildPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path.empty() || path[0] != L'\\' ? path : L"Z:" + path;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;)
    {
        if (done())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(pollMs);
    }
}

UniqueHandle StartProcess(const std::wstring& exe, std::wstring commandLine, std::string& failure,
                          DWORD* processId)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.empty() ? nullptr : exe.c_str(), commandLine.data(), nullptr, nullptr,
                        FALSE, 0, nullptr, nullptr, &startup, &info))
    {
        failure = "cannot start " + WideToUtf8(commandLine) + " (error " +
                  std::to_string(GetLastError()) + ")";
        return UniqueHandle();
    }
    CloseHandle(info.hThread);
    if (processId)
        *processId = info.dwProcessId;
    return UniqueHandle(info.hProcess);
}
