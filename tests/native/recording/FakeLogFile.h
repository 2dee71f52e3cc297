#pragma once

// A log file in memory on a disk that fills up, fails its flushes or cuts, goes away and comes
// back, or blocks a write, on the test's demand.

#include "recording/LogSink.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

constexpr unsigned long DISK_FULL = 112, DEVICE_GONE = 1167, ABORTED = 995, TIMED_OUT = 1460;

struct FakeDisk
{
    std::mutex mutex;
    std::condition_variable changed;
    std::string content;
    bool exists = false;
    bool present = true; // false: the medium is gone; handles opened on it stay dead
    bool full = false;   // a write puts `partial` bytes in, then fails
    std::size_t partial = 0;
    bool flushFails = false, cutFails = false;
    bool writesBlock = false; // a write waits until this is cleared or, if honoured, cancelled
    bool cancelHonoured = true, writeBlocked = false, closed = false;
    int flushes = 0; // that succeeded: records wholly in the file
    int cancels = 0;

    template <typename Edit> void Change(Edit edit)
    {
        std::lock_guard<std::mutex> lock(mutex);
        edit(*this);
        changed.notify_all();
    }
    template <typename Until> bool Await(Until until)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return until(*this); });
    }
    std::string Content()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return content;
    }
};

class FakeLogFile final : public LogSink
{
public:
    explicit FakeLogFile(std::shared_ptr<FakeDisk> disk) : d_(std::move(disk)) {}
    ~FakeLogFile() override
    {
        d_->Change([](FakeDisk& d) { d.closed = true; });
    }
    unsigned long TimedOutError() const override { return TIMED_OUT; }
    void CancelBlockedCall() override
    {
        d_->Change([this](FakeDisk& d) { ++d.cancels, cancelled_ = true; });
    }

protected:
    using Lock = std::unique_lock<std::mutex>;
    unsigned long OpenFile(const std::string&, bool& existed) override
    {
        Lock lock(d_->mutex);
        if (!d_->present)
            return DEVICE_GONE;
        dead_ = false;
        existed = std::exchange(d_->exists, true);
        return 0;
    }
    unsigned long SeekEnd(std::uint64_t& size) override
    {
        Lock lock(d_->mutex);
        size = d_->content.size();
        return Refused(false);
    }
    unsigned long Write(const char* data, std::size_t size, std::size_t& written) override
    {
        Lock lock(d_->mutex);
        d_->writeBlocked = true;
        d_->changed.notify_all();
        d_->changed.wait(lock,
                         [this] { return !d_->writesBlock || (cancelled_ && d_->cancelHonoured); });
        d_->writeBlocked = false;
        if (cancelled_)
            return ABORTED;
        if (const unsigned long error = Refused(false))
            return error;
        written = d_->full ? std::min(d_->partial, size) : size;
        d_->content.append(data, written);
        return d_->full ? DISK_FULL : 0;
    }
    unsigned long Flush() override
    {
        Lock lock(d_->mutex);
        if (const unsigned long error = Refused(d_->flushFails))
            return error;
        ++d_->flushes;
        d_->changed.notify_all();
        return 0;
    }
    unsigned long Truncate(std::uint64_t size) override
    {
        Lock lock(d_->mutex);
        if (const unsigned long error = Refused(d_->cutFails))
            return error;
        d_->content.resize(std::min<std::size_t>(size, d_->content.size()));
        return 0;
    }
    bool HandleSurvives(unsigned long error) const override { return error == DISK_FULL; }

private:
    // With the disk's mutex held: a handle dies with its medium and stays dead.
    unsigned long Refused(bool fails)
    {
        dead_ = dead_ || !d_->present;
        return dead_ ? DEVICE_GONE : fails ? DISK_FULL : 0;
    }

    std::shared_ptr<FakeDisk> d_;
    bool dead_ = false, cancelled_ = false;
};

inline std::unique_ptr<LogSink> OpenFake(const std::shared_ptr<FakeDisk>& disk)
{
    auto file = std::make_unique<FakeLogFile>(disk);
    file->Open("F:\\log.csv");
    return file;
}
