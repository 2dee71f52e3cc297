#pragma once

// The log writer: a thread that owns the log file, so that a slow, full or vanished disk never
// holds up the thread that makes the records. The owner hands over whole records (header and
// line, in the file's encoding) and hears back through a callback.
//
// A record that cannot be written stays queued, in order, and goes in before newer ones as soon
// as writing works again. The head of the queue is retried whenever a record arrives and at least
// every `retryEvery`; when the handle itself is dead the file is reopened for appending (never
// truncated) first. Every write is flushed before the records leave the queue; records that wait
// go in by batches of up to 64 KiB, one write and one flush each, so that a long backlog drains in
// seconds, and a batch that fails is cut off and retried whole. The queue holds seven days of
// records at the interval in force; past that the oldest are dropped and counted (RecordQueue).
//
// A spell runs from the first failed attempt (or a file call stuck for `stalledAfter`) to the
// moment nothing waits any more. The owner hears of it once at its start (WriteFailed, or
// EmptyFailed), then of the number waiting (Backlog, at most every `backlogReportEvery`), and of
// its end (BacklogWritten). Dropped records are reported whenever their total grows.
//
// Switching files keeps order: records pushed before Switch go to the old file as long as it
// takes them; once it fails (or when it was failing already) the rest go to the new file, after a
// repeat of the header they were made under, so that no record stays behind on a file that may
// never come back. Records pushed after Switch go to the new file. With LogStart::Empty the new
// file is emptied before anything goes in; an emptying that fails is reported (EmptyFailed) and
// retried like a write, and nothing is appended to the file before it succeeds. A switch to no
// file goes on with the same one (on Windows the file cannot be opened twice): it only empties it
// when asked, after the records made before.
//
// Stop (and the destructor) goes on writing for up to `stopWithin`, then asks a file call still
// blocked to give up (CancelSynchronousIo on Windows; POSIX offers no portable way) and waits
// `cancelGrace` more. A call that still does not return is left to finish in the background: the
// thread then writes nothing more, reports nothing, closes the file and ends; its state is shared
// with it, so nothing it touches goes away before it. Records still queued when Stop returns are
// lost, and Stop returns their number.

#include "recording/LogRecord.h"
#include "recording/LogSink.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

struct LogWriterState; // shared by the owner's object and the writer thread

struct LogWriterEvent
{
    enum class Kind
    {
        WriteFailed,    // a spell began: error, path
        EmptyFailed,    // a file switched to with LogStart::Empty could not be emptied: error, path
        Backlog,        // count: records waiting, while a spell lasts
        BacklogWritten, // the spell is over: every record waiting is in the file
        Dropped,        // count: records dropped so far, the queue being full
    };

    Kind kind;
    std::uint64_t count = 0;
    unsigned long error = 0;
    std::string path;
};

enum class LogStart
{
    Append,
    Empty,
};

struct LogWriterTiming
{
    std::chrono::milliseconds retryEvery{1000};
    std::chrono::milliseconds stalledAfter{5000};
    std::chrono::milliseconds backlogReportEvery{250};
    std::chrono::milliseconds stopWithin{2000};
    std::chrono::milliseconds cancelGrace{250};
};

class LogWriter
{
public:
    // Called on the writer thread, or within Push and Switch on the caller's thread, one call at
    // a time and never after Stop has returned. It must only hand the event over (PostMessageW)
    // and return: the writer waits for it, and it must not call back into the writer.
    using Report = std::function<void(const LogWriterEvent&)>;

    // Starts writing to an open file (see LogSink::Open); intervalSeconds sizes the queue.
    LogWriter(std::unique_ptr<LogSink> file, LogStart start, int intervalSeconds, Report report,
              LogWriterTiming timing = {});
    ~LogWriter();
    LogWriter(const LogWriter&) = delete;
    LogWriter& operator=(const LogWriter&) = delete;

    // Queues one record (header, if due, and line). Never waits for the file.
    void Push(const LogRecord& record);
    // Goes on with another open file (none: the same one), in order (see above). Never waits for
    // the file.
    void Switch(std::unique_ptr<LogSink> file, LogStart start);
    // The log interval changed: the queue keeps seven days at the new one.
    void SetInterval(int seconds);

    // Writes what it can within the bound and ends the thread; returns the records left
    // unwritten. Push and Switch do nothing afterwards.
    std::size_t Stop();

private:
    std::shared_ptr<LogWriterState> state_;
    std::thread thread_;
    std::size_t unwritten_ = 0;
};
