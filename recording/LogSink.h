#pragma once

// An open measurement log file, as the log writer uses it. Other programs may read the file
// while it is open. Every record goes in at the end with its bytes flushed to the disk before
// Append returns; a record that does not go in whole, or whose flush fails, is cut off again, so
// that the file never holds part of a line. When even the cut fails (the handle died under it),
// the cut is made before the next record goes in, on this handle or a reopened one.
//
// The rules live here; a platform supplies the file calls (LogFileWin, LogFilePosix).

#include <cstddef>
#include <cstdint>
#include <string>

class LogSink
{
public:
    enum class OpenResult
    {
        Failed,
        Created,
        Existing,
    };

    virtual ~LogSink() = default;
    LogSink() = default;
    LogSink(const LogSink&) = delete;
    LogSink& operator=(const LogSink&) = delete;

    // Opens or creates the file (path in UTF-8), never truncating it. Records go in at its end.
    OpenResult Open(const std::string& path);
    // Opens the same file again after its handle died (media removed, share gone).
    OpenResult Reopen() { return Open(path_); }

    // Writes and flushes one record. False when it is not in the file; LastError() tells why.
    bool Append(const std::string& bytes);
    // Empties the file.
    bool Empty();

    // The system's error code of the last failure, and whether it means the handle is dead (the
    // next attempt should reopen the file first) rather than, say, a full disk.
    unsigned long LastError() const { return lastError_; }
    bool HandleLost() const { return handleLost_; }
    const std::string& Path() const { return path_; }

    // The error code that describes a file call that does not return.
    virtual unsigned long TimedOutError() const = 0;
    // Asks a file call blocked in another thread to give up, where the system can.
    virtual void CancelBlockedCall() {}

protected:
    // The platform's file calls. Each returns 0 or the system's error code.
    virtual unsigned long OpenFile(const std::string& path, bool& existed) = 0;
    virtual unsigned long SeekEnd(std::uint64_t& size) = 0;
    // Writes at the end; on failure `written` tells how many bytes went in.
    virtual unsigned long Write(const char* data, std::size_t size, std::size_t& written) = 0;
    virtual unsigned long Flush() = 0;
    virtual unsigned long Truncate(std::uint64_t size) = 0;
    // Errors after which the same handle can succeed later (a full disk): all others reopen.
    virtual bool HandleSurvives(unsigned long error) const = 0;

private:
    bool Fail(unsigned long error);
    bool CutPendingTail();

    std::string path_;
    unsigned long lastError_ = 0;
    bool handleLost_ = false;
    // Where a record that went in part way must be cut off before the next one goes in.
    bool cutPending_ = false;
    std::uint64_t cutAt_ = 0;
};
