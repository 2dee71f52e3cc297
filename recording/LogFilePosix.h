#pragma once

// The measurement log file on POSIX systems (for the headless logger). Records are appended with
// O_APPEND and made durable with fsync. POSIX has no share modes: other writers are not kept out.

#include "recording/LogSink.h"

class LogFilePosix final : public LogSink
{
public:
    LogFilePosix() = default;
    ~LogFilePosix() override { Close(); }

    unsigned long TimedOutError() const override;

protected:
    unsigned long OpenFile(const std::string& path, bool& existed) override;
    unsigned long SeekEnd(std::uint64_t& size) override;
    unsigned long Write(const char* data, std::size_t size, std::size_t& written) override;
    unsigned long Flush() override;
    unsigned long Truncate(std::uint64_t size) override;
    bool HandleSurvives(unsigned long error) const override;

private:
    void Close();

    int fd_ = -1;
};
