#include "tools/qm7xx-log/Console.h"

#include "toolkit/TextConv.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>

std::vector<std::string> Utf8Arguments(int, char**)
{
    // The narrow argv is in the system's code page, which cannot hold every file name.
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(WideToUtf8(wide[i]));
    LocalFree(wide);
    return args;
}

void PrintLine(const std::string& utf8)
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(out, &mode))
    {
        const std::wstring line = Utf8ToWide(utf8) + L"\r\n";
        DWORD written = 0;
        WriteConsoleW(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
