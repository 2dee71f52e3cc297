#include "recording/LogFileWin.h"

#include "toolkit/TextConv.h"

namespace
{

unsigned long LastErrorOr(BOOL ok)
{
    return ok ? 0 : GetLastError();
}

} // namespace

bool LogFileWin::SeekToEnd()
{
    std::uint64_t size = 0;
    return SeekEnd(size) == 0;
}

unsigned long LogFileWin::OpenFile(const std::string& path, bool& existed)
{
    NoteCallingThread();
    // The old handle goes first: a handle that is still valid would refuse the new one.
    handle_.Reset();
    HANDLE h = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                           nullptr);
    const DWORD error = GetLastError();
    if (h == INVALID_HANDLE_VALUE)
        return error;
    handle_.Reset(h);
    existed = error == ERROR_ALREADY_EXISTS;
    return 0;
}

unsigned long LogFileWin::SeekEnd(std::uint64_t& size)
{
    NoteCallingThread();
    LARGE_INTEGER end{};
    const unsigned long error =
        LastErrorOr(SetFilePointerEx(handle_.Get(), LARGE_INTEGER{}, &end, FILE_END));
    size = static_cast<std::uint64_t>(end.QuadPart);
    return error;
}

unsigned long LogFileWin::Write(const char* data, std::size_t size, std::size_t& written)
{
    NoteCallingThread();
    DWORD done = 0;
    if (size > MAXDWORD)
        return ERROR_INVALID_PARAMETER;
    const BOOL ok = WriteFile(handle_.Get(), data, static_cast<DWORD>(size), &done, nullptr);
    written = done;
    if (!ok)
        return GetLastError();
    return done == size ? 0 : ERROR_WRITE_FAULT;
}

unsigned long LogFileWin::Flush()
{
    NoteCallingThread();
    return LastErrorOr(FlushFileBuffers(handle_.Get()));
}

unsigned long LogFileWin::Truncate(std::uint64_t size)
{
    NoteCallingThread();
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(size);
    return LastErrorOr(SetFilePointerEx(handle_.Get(), at, nullptr, FILE_BEGIN) &&
                       SetEndOfFile(handle_.Get()));
}

bool LogFileWin::HandleSurvives(unsigned long error) const
{
    switch (error)
    {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_NOT_ENOUGH_QUOTA:
    case ERROR_LOCK_VIOLATION:
        return true;
    default:
        return false;
    }
}

void LogFileWin::NoteCallingThread()
{
    const DWORD id = GetCurrentThreadId();
    std::lock_guard<std::mutex> lock(threadMutex_);
    if (id == callingThreadId_)
        return;
    HANDLE thread = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread,
                        THREAD_TERMINATE, FALSE, 0))
    {
        callingThread_.Reset(thread);
        callingThreadId_ = id;
    }
}

void LogFileWin::CancelBlockedCall()
{
    std::lock_guard<std::mutex> lock(threadMutex_);
    if (callingThread_)
        CancelSynchronousIo(callingThread_.Get());
}
