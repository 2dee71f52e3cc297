#pragma once

// The measurement log file on Windows. Nobody else may write the file while it is open.

#include "recording/LogSink.h"
#include "toolkit/Handles.h"

#include <mutex>

class LogFileWin final : public LogSink
{
public:
    // Moves the position to the end. Append always writes at the end; kept for callers that
    // position the file themselves after Open.
    bool SeekToEnd();

    unsigned long TimedOutError() const override { return ERROR_TIMEOUT; }
    // CancelSynchronousIo on the thread that last entered a file call.
    void CancelBlockedCall() override;

protected:
    unsigned long OpenFile(const std::string& path, bool& existed) override;
    unsigned long SeekEnd(std::uint64_t& size) override;
    unsigned long Write(const char* data, std::size_t size, std::size_t& written) override;
    unsigned long Flush() override;
    unsigned long Truncate(std::uint64_t size) override;
    bool HandleSurvives(unsigned long error) const override;

private:
    void NoteCallingThread();

    UniqueHandle handle_;
    std::mutex threadMutex_;
    UniqueHandle callingThread_;
    DWORD callingThreadId_ = 0;
};
