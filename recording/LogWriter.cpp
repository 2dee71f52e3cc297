#include "recording/LogWriter.h"

#include "recording/RecordQueue.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;

// At most this much of a backlog goes into the file with one write and one flush.
constexpr std::size_t BATCH_BYTES = 64 * 1024;
using Kind = LogWriterEvent::Kind;

enum class Outcome
{
    Idle,     // nothing to do
    Progress, // a step succeeded: go on at once
    Failed,   // wait for a new record or the retry time
};

} // namespace

struct LogWriterState
{
    LogWriterState(std::unique_ptr<LogSink> first, LogStart start, int intervalSeconds,
                   LogWriter::Report reportTo, LogWriterTiming times)
        : timing(times), report(std::move(reportTo)),
          queue(RecordQueue::CapacityFor(intervalSeconds)), file(std::move(first)),
          filePath(file->Path()), emptyDue(start == LogStart::Empty)
    {
    }

    const LogWriterTiming timing;
    const LogWriter::Report report;

    // Taken before `mutex`, never after it; held while the owner's callback runs.
    std::mutex reportMutex;
    bool reportsOff = false;

    std::mutex mutex; // guards everything below
    std::condition_variable wake;
    bool woken = false;
    std::condition_variable ended;
    bool finished = false;
    bool stopping = false;
    Clock::time_point stopBy;

    RecordQueue queue;
    std::unique_ptr<LogSink> file; // replaced only by the writer thread
    std::string filePath;
    bool emptyDue;
    bool reopenDue = false;
    bool failing = false; // the last attempt on the current file failed

    // A switch not taken up yet; records numbered from switchAt on belong to the next file (none:
    // the same file again).
    bool switchPending = false;
    std::unique_ptr<LogSink> nextFile;
    LogStart nextStart = LogStart::Append;
    std::uint64_t switchAt = 0;

    // The file call in progress: since when, on which file (for Stop's cancel) and path.
    std::optional<Clock::time_point> busySince;
    LogSink* busyFile = nullptr;
    std::string busyPath;

    bool spell = false;
    LogWriterEvent spellStart{Kind::WriteFailed, 0, 0, {}};
    std::optional<LogWriterEvent> emptyFailure; // to be reported (once per file)
    bool emptyFailureSeen = false;

    // What the owner has heard.
    bool reportedSpell = false;
    std::size_t reportedWaiting = 0;
    Clock::time_point reportedWaitingAt;
    std::uint64_t reportedDropped = 0;
};

namespace
{

using Lock = std::unique_lock<std::mutex>;

void StartSpell(LogWriterState& s, Kind kind, unsigned long error, const std::string& path)
{
    if (s.spell)
        return;
    s.spell = true;
    s.spellStart = {kind, 0, error, path};
}

// Runs one file call with the lock released; `file` stays alive, since only this thread
// replaces it.
template <typename Call> auto FileCall(LogWriterState& s, Lock& lock, LogSink& file, Call call)
{
    s.busySince = Clock::now();
    s.busyFile = &file;
    s.busyPath = s.filePath;
    lock.unlock();
    const auto result = call(file);
    lock.lock();
    s.busySince.reset();
    s.busyFile = nullptr;
    return result;
}

void TakeUpSwitch(LogWriterState& s, Lock& lock)
{
    s.switchPending = false;
    s.emptyDue = s.nextStart == LogStart::Empty;
    s.emptyFailureSeen = false;
    // Records the old file did not take go to a new or emptied one under the header they were
    // made with.
    if ((s.nextFile || s.emptyDue) && !s.queue.Empty() && s.queue.HeadNumber() < s.switchAt)
        s.queue.RepeatHeaderAtHead();
    if (!s.nextFile)
        return;
    std::unique_ptr<LogSink> old = std::move(s.file);
    s.file = std::move(s.nextFile);
    s.filePath = s.file->Path();
    s.reopenDue = false;
    s.failing = false;
    // Closing a file on a stalled share can take as long as writing to it.
    s.busySince = Clock::now();
    s.busyPath = old->Path();
    lock.unlock();
    old.reset();
    lock.lock();
    s.busySince.reset();
}

Outcome Fail(LogWriterState& s, Kind kind)
{
    s.failing = true;
    s.reopenDue = s.file->HandleLost();
    StartSpell(s, kind, s.file->LastError(), s.filePath);
    return Outcome::Failed;
}

Outcome Step(LogWriterState& s, Lock& lock)
{
    if (s.switchPending && (s.failing || s.queue.Empty() || s.queue.HeadNumber() >= s.switchAt))
    {
        TakeUpSwitch(s, lock);
        return Outcome::Progress;
    }
    if (s.reopenDue && (s.emptyDue || !s.queue.Empty()))
    {
        const LogSink::OpenResult opened =
            FileCall(s, lock, *s.file, [](LogSink& f) { return f.Reopen(); });
        if (opened == LogSink::OpenResult::Failed)
            return Fail(s, Kind::WriteFailed);
        s.reopenDue = false;
        // The file was gone and is new: the records that follow need their header again.
        if (opened == LogSink::OpenResult::Created)
            s.queue.RepeatHeaderAtHead();
        return Outcome::Progress;
    }
    if (s.emptyDue)
    {
        if (!FileCall(s, lock, *s.file, [](LogSink& f) { return f.Empty(); }))
        {
            if (!s.emptyFailureSeen)
            {
                s.emptyFailureSeen = true;
                s.emptyFailure =
                    LogWriterEvent{Kind::EmptyFailed, 0, s.file->LastError(), s.filePath};
            }
            return Fail(s, Kind::EmptyFailed);
        }
        s.emptyDue = false;
        s.failing = false;
        return Outcome::Progress;
    }
    if (s.queue.Empty())
        return Outcome::Idle;
    // A backlog goes in by batches, each flushed once; a batch stops where the next file begins.
    const std::uint64_t first = s.queue.HeadNumber();
    const std::size_t most =
        s.switchPending ? static_cast<std::size_t>(s.switchAt - first) : SIZE_MAX;
    std::size_t count = 0;
    const std::string bytes = s.queue.Front(most, BATCH_BYTES, count);
    if (!FileCall(s, lock, *s.file, [&bytes](LogSink& f) { return f.Append(bytes); }))
        return Fail(s, Kind::WriteFailed);
    s.queue.Written(first, count);
    s.failing = false;
    return Outcome::Progress;
}

// Tells the owner what changed since it last heard; called after every step and every Push.
void ReportChanges(LogWriterState& s)
{
    std::lock_guard<std::mutex> reporting(s.reportMutex);
    if (s.reportsOff)
        return;
    std::vector<LogWriterEvent> events;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        const Clock::time_point now = Clock::now();
        if (s.busySince && now - *s.busySince >= s.timing.stalledAfter)
            StartSpell(s, Kind::WriteFailed, s.file->TimedOutError(), s.busyPath);
        if (!s.failing && !s.emptyDue && s.queue.Empty() && !s.busySince)
            s.spell = false;

        bool waitingDue = false;
        if (s.spell && !s.reportedSpell)
        {
            events.push_back(s.spellStart);
            s.reportedSpell = true;
            waitingDue = true;
            if (s.spellStart.kind == Kind::EmptyFailed)
                s.emptyFailure.reset();
        }
        if (s.emptyFailure)
        {
            events.push_back(*s.emptyFailure);
            s.emptyFailure.reset();
        }
        const std::size_t waiting = s.queue.Size();
        if (s.spell && waiting != s.reportedWaiting &&
            now - s.reportedWaitingAt >= s.timing.backlogReportEvery)
            waitingDue = true;
        if (s.spell && waitingDue)
        {
            events.push_back({Kind::Backlog, waiting, 0, {}});
            s.reportedWaiting = waiting;
            s.reportedWaitingAt = now;
        }
        if (s.queue.Dropped() != s.reportedDropped)
        {
            s.reportedDropped = s.queue.Dropped();
            events.push_back({Kind::Dropped, s.reportedDropped, 0, {}});
        }
        if (!s.spell && s.reportedSpell)
        {
            events.push_back({Kind::BacklogWritten, 0, 0, {}});
            s.reportedSpell = false;
            s.reportedWaiting = 0;
        }
    }
    for (const LogWriterEvent& event : events)
        s.report(event);
}

void Run(LogWriterState& s)
{
    Lock lock(s.mutex);
    for (;;)
    {
        const Outcome outcome = Step(s, lock);
        lock.unlock();
        ReportChanges(s);
        lock.lock();
        const Clock::time_point now = Clock::now();
        if (s.stopping && (outcome == Outcome::Idle || now >= s.stopBy))
            break;
        if (outcome == Outcome::Progress)
            continue;
        Clock::time_point until = now + s.timing.retryEvery;
        if (s.stopping && s.stopBy < until)
            until = s.stopBy;
        s.wake.wait_until(lock, until, [&s] { return s.woken; });
        s.woken = false;
    }
    s.finished = true;
    s.ended.notify_all();
}

} // namespace

LogWriter::LogWriter(std::unique_ptr<LogSink> file, LogStart start, int intervalSeconds,
                     Report report, LogWriterTiming timing)
    : state_(std::make_shared<LogWriterState>(std::move(file), start, intervalSeconds,
                                              std::move(report), timing))
{
    thread_ = std::thread([state = state_] { Run(*state); });
}

LogWriter::~LogWriter()
{
    Stop();
}

void LogWriter::Push(const LogRecord& record)
{
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (state_->stopping)
            return;
        state_->queue.Push(record);
        state_->woken = true;
    }
    state_->wake.notify_one();
    ReportChanges(*state_);
}

void LogWriter::Switch(std::unique_ptr<LogSink> file, LogStart start)
{
    std::unique_ptr<LogSink> replaced; // a switch not taken up yet: that file is closed unused
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (state_->stopping)
            return;
        replaced = std::move(state_->nextFile);
        if (!state_->switchPending)
            state_->switchAt = state_->queue.NextNumber();
        state_->switchPending = true;
        state_->nextFile = std::move(file);
        state_->nextStart = start;
        state_->woken = true;
    }
    state_->wake.notify_one();
    ReportChanges(*state_);
}

void LogWriter::SetInterval(int seconds)
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->queue.SetCapacity(RecordQueue::CapacityFor(seconds));
}

std::size_t LogWriter::Stop()
{
    if (!thread_.joinable())
        return unwritten_;
    LogWriterState& s = *state_;
    bool finished = false;
    {
        Lock lock(s.mutex);
        s.stopping = true;
        s.stopBy = Clock::now() + s.timing.stopWithin;
        s.woken = true;
        s.wake.notify_one();
        const auto done = [&s] { return s.finished; };
        if (!s.ended.wait_until(lock, s.stopBy + s.timing.cancelGrace, done))
        {
            if (s.busyFile)
                s.busyFile->CancelBlockedCall();
            s.ended.wait_for(lock, s.timing.cancelGrace, done);
        }
        finished = s.finished;
        unwritten_ = s.queue.Size();
    }
    {
        std::lock_guard<std::mutex> reporting(s.reportMutex);
        s.reportsOff = true;
    }
    if (finished)
        thread_.join();
    else
        thread_.detach();
    return unwritten_;
}
