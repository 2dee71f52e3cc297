#include "recording/LogFile.h"

#include "toolkit/TextConv.h"

LogFile::OpenResult LogFile::Open(const std::string& path)
{
    handle_.Reset();
    path_ = path;
    HANDLE h = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                           nullptr);
    lastError_ = GetLastError();
    if (h == INVALID_HANDLE_VALUE)
        return OpenResult::Failed;
    handle_.Reset(h);
    return lastError_ == ERROR_ALREADY_EXISTS ? OpenResult::Existing : OpenResult::Created;
}

bool LogFile::SeekToEnd()
{
    return SetFilePointerEx(handle_.Get(), LARGE_INTEGER{}, nullptr, FILE_END) != FALSE;
}

bool LogFile::Empty()
{
    return SetFilePointerEx(handle_.Get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN) &&
           SetEndOfFile(handle_.Get());
}

bool LogFile::Append(const std::string& bytes)
{
    LARGE_INTEGER end{};
    if (!SetFilePointerEx(handle_.Get(), LARGE_INTEGER{}, &end, FILE_END) ||
        bytes.size() > MAXDWORD)
    {
        lastError_ = GetLastError();
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(handle_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    if (ok && written == bytes.size())
        return true;
    lastError_ = ok ? ERROR_WRITE_FAULT : GetLastError();
    // Cut off whatever part of the record went in; the next record starts a line of its own.
    if (written > 0 && SetFilePointerEx(handle_.Get(), end, nullptr, FILE_BEGIN))
        SetEndOfFile(handle_.Get());
    return false;
}
