#include "tools/qm7xx-log/LoggerRun.h"

#include "meter/MeterLink.h"
#include "recording/LogFile.h"
#include "recording/LogRecorder.h"
#include "recording/LogRotation.h"
#include "recording/LogWriter.h"
#include "tools/qm7xx-log/Console.h"
#include "tools/qm7xx-log/LocalClock.h"
#include "tools/qm7xx-log/SerialInput.h"
#include "tools/qm7xx-sim/StopRequest.h"
#include "units/UnitModel.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace
{

// How soon a stop request or a due reopening is seen while nothing else happens.
constexpr LinkMillis IDLE_STEP_MS = 200;

LinkMillis NowMs()
{
    using namespace std::chrono;
    return static_cast<LinkMillis>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void Say(const std::string& message)
{
    std::fprintf(stderr, "qm7xx-log: %s\n", message.c_str());
}

// Each line of a record (its header, then the line) without its line end.
void PrintRecord(const std::string& text)
{
    std::size_t start = 0;
    while (start < text.size())
    {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        PrintLine(text.substr(start, stop - start));
        start = end + 1;
    }
}

class Logger
{
public:
    explicit Logger(const LoggerOptions& options)
        : options_(options), link_(DEFAULT_UNIT_CODE), layout_{options.channel1, options.channel2,
                                                               options.sepFormat, options.style}
    {
    }

    int Run();

private:
    bool OpenPort(LinkMillis now);
    bool OpenLog();
    void Receive(LinkMillis waitMs);
    void WriteRecord();
    void StartNewDay(const LocalTime& now);
    void SayWriterEvents();

    const LoggerOptions options_;
    MeterLink link_;
    LogRecorder recorder_;
    const LogLayout layout_;
    std::unique_ptr<SerialInput> port_;
    bool portLost_ = false; // told the user that the port is gone, not yet that it is back
    std::optional<LinkMillis> watchdogDue_;

    std::unique_ptr<LogWriter> writer_;
    LocalTime fileDay_; // the day of the file in use (--rotate daily)
    std::string filePath_;
    std::mutex eventsMutex_;
    std::vector<LogWriterEvent> events_; // from the writer thread, told on this one
};

bool Logger::OpenPort(LinkMillis now)
{
    port_.reset(); // a port is opened by one handle at a time
    std::string error;
    port_ = OpenSerialInput(options_.port, error);
    link_.PortOpened(port_ != nullptr, now);
    if (!port_)
    {
        link_.PortDied(); // tried again every reconnect period
        if (!portLost_)
            Say("cannot open " + options_.port + ": " + error);
        portLost_ = true;
        return false;
    }
    if (portLost_)
        Say(options_.port + " is open again");
    portLost_ = false;
    return true;
}

bool Logger::OpenLog()
{
    const LocalTime now = LocalTimeNow();
    filePath_ = options_.rotateDaily ? DailyLogPath(options_.out, now) : options_.out;
    fileDay_ = now;
    auto file = std::make_unique<LogFile>();
    if (file->Open(filePath_) == LogSink::OpenResult::Failed)
    {
        Say("cannot open the log file " + filePath_ + " (error " +
            std::to_string(file->LastError()) + ")");
        return false;
    }
    // As the desktop program does: the first record carries a header in any case.
    recorder_.headerPending = true;
    writer_ = std::make_unique<LogWriter>(std::move(file),
                                          options_.overwrite ? LogStart::Empty : LogStart::Append,
                                          options_.intervalSeconds,
                                          [this](const LogWriterEvent& event)
                                          {
                                              const std::lock_guard<std::mutex> lock(eventsMutex_);
                                              events_.push_back(event);
                                          });
    return true;
}

void Logger::StartNewDay(const LocalTime& now)
{
    const std::string path = DailyLogPath(options_.out, now);
    auto file = std::make_unique<LogFile>();
    if (file->Open(path) == LogSink::OpenResult::Failed)
    {
        // Tried again at the next record; until then the records go on into the old file.
        Say("cannot open the new day's log file " + path + " (error " +
            std::to_string(file->LastError()) + "); going on with " + filePath_);
        return;
    }
    writer_->Switch(std::move(file), LogStart::Append);
    recorder_.headerPending = true;
    fileDay_ = now;
    filePath_ = path;
}

void Logger::WriteRecord()
{
    const LocalTime now = LocalTimeNow();
    if (writer_ && options_.rotateDaily && !SameDay(now, fileDay_))
        StartNewDay(now);
    const LogRecord record = recorder_.NextRecord(link_.RecordSource(), layout_, now);
    if (writer_)
        writer_->Push(StyleFileRecord(options_.style, record));
    if (!options_.quiet)
        PrintRecord(record.Text());
}

void Logger::Receive(LinkMillis waitMs)
{
    if (!port_)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
        return;
    }
    std::uint8_t bytes[64];
    bool dead = false;
    const std::size_t count = port_->Read(bytes, sizeof bytes, static_cast<int>(waitMs), dead);
    const LinkMillis now = NowMs();
    for (std::size_t i = 0; i < count; ++i)
    {
        if (link_.Feed(bytes[i], now).restartWatchdog)
            watchdogDue_ = now + MeterLink::WATCHDOG_PERIOD_MS;
    }
    if (dead)
    {
        port_.reset();
        link_.PortDied();
        portLost_ = true;
        Say(options_.port + " has gone; opening it again every " +
            std::to_string(MeterLink::RECONNECT_PERIOD_MS / 1000) + " s");
    }
}

void Logger::SayWriterEvents()
{
    std::vector<LogWriterEvent> events;
    {
        const std::lock_guard<std::mutex> lock(eventsMutex_);
        events.swap(events_);
    }
    using Kind = LogWriterEvent::Kind;
    for (const LogWriterEvent& e : events)
    {
        const std::string code = " (error " + std::to_string(e.error) + ")";
        if (e.kind == Kind::WriteFailed)
            Say("cannot write to " + e.path + code +
                "; the records wait and go in as soon as it works again");
        else if (e.kind == Kind::EmptyFailed)
            Say("cannot empty " + e.path + code + "; trying again");
        else if (e.kind == Kind::BacklogWritten)
            Say("every waiting record is in the log file now");
        else if (e.kind == Kind::Dropped)
            Say(std::to_string(e.count) + " oldest records dropped: a week's records were waiting");
    }
}

int Logger::Run()
{
    InstallStopHandler();
    if (!OpenPort(NowMs()) && !options_.wait)
        return EXIT_NO_PORT;
    if (!options_.out.empty() && !OpenLog())
        return EXIT_FAILED;

    const LinkMillis intervalMs = static_cast<LinkMillis>(options_.intervalSeconds) * 1000;
    // As the desktop program's log timer: the first record one interval after the start.
    LinkMillis nextRecord = NowMs() + intervalMs;
    while (!StopRequested())
    {
        LinkMillis now = NowMs();
        if (link_.ReopenDue(now))
            OpenPort(now);
        if (watchdogDue_ && now >= *watchdogDue_)
        {
            // Not stopped: it fires every period until a good frame restarts it.
            link_.WatchdogExpired();
            watchdogDue_ = now + MeterLink::WATCHDOG_PERIOD_MS;
        }
        if (now >= nextRecord)
        {
            WriteRecord();
            nextRecord = std::max(nextRecord + intervalMs, now + 1);
        }
        SayWriterEvents();
        now = NowMs();
        LinkMillis until = std::min(nextRecord, now + IDLE_STEP_MS);
        if (watchdogDue_)
            until = std::min(until, *watchdogDue_);
        Receive(until > now ? until - now : 0);
    }

    if (!writer_)
        return EXIT_DONE;
    const std::size_t unwritten = writer_->Stop();
    SayWriterEvents();
    if (unwritten == 0)
        return EXIT_DONE;
    Say(std::to_string(unwritten) + " records could not be written to " + filePath_);
    return EXIT_FAILED;
}

} // namespace

int RunLogger(const LoggerOptions& options)
{
    Logger logger(options);
    return logger.Run();
}
