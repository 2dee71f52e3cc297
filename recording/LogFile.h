#pragma once

// The open measurement log file. Other programs may read it while it is open; nobody else may
// write it. Every record goes in with one write at the end of the file, and a record that does not
// go in whole is cut off again, so that the file never holds part of a line.

#include "toolkit/Handles.h"

#include <string>

class LogFile
{
public:
    enum class OpenResult
    {
        Failed,
        Created,
        Existing,
    };

    // Opens or creates the file (path in UTF-8). On Existing the file position is at its start.
    OpenResult Open(const std::string& path);
    bool IsOpen() const { return handle_.Valid(); }

    // Moves the position to the end (records are appended) or empties the file.
    bool SeekToEnd();
    bool Empty();

    // Writes bytes at the end with one write call. False when they did not all go in; the file is
    // then as it was before, and LastError() tells why.
    bool Append(const std::string& bytes);
    DWORD LastError() const { return lastError_; }

    const std::string& Path() const { return path_; }

private:
    UniqueHandle handle_;
    std::string path_;
    DWORD lastError_ = 0;
};
