// qm7xx-sim: plays a QM-700 or QM-701 light meter on a serial port. See --help.

#include "tools/qm7xx-sim/FrameSchedule.h"
#include "tools/qm7xx-sim/SerialLine.h"
#include "tools/qm7xx-sim/SimOptions.h"
#include "tools/qm7xx-sim/SimUsage.h"
#include "tools/qm7xx-sim/StopRequest.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;

// Sleeps until `when`, in short steps so that Ctrl+C is seen at once. False when stopped.
bool WaitUntil(Clock::time_point when, bool stoppable = true)
{
    constexpr auto STEP = std::chrono::milliseconds(50);
    for (;;)
    {
        if (stoppable && StopRequested())
            return false;
        const auto now = Clock::now();
        if (now >= when)
            return true;
        std::this_thread::sleep_for(std::min<Clock::duration>(when - now, STEP));
    }
}

// Sends one transmission byte by byte at its times (or at once with --fast). A stop request is
// honoured before the first byte only, so that no frame is cut short. False when stopped or when
// the port fails (`failed`).
bool Send(const Transmission& t, const FrameSchedule& schedule, const SimOptions& options,
          SerialLine& line, Clock::time_point start, bool& failed)
{
    if (options.fast)
    {
        if (!WaitUntil(start + std::chrono::milliseconds(t.startMs)))
            return false;
        failed = !line.Write(t.bytes.data(), t.bytes.size());
        return !failed;
    }
    for (std::size_t i = 0; i < t.bytes.size(); ++i)
    {
        if (!WaitUntil(start + std::chrono::milliseconds(schedule.ByteTimeMs(t, i)), i == 0))
            return false;
        if (!line.Write(&t.bytes[i], 1))
        {
            failed = true;
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const ParseResult parsed = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.Ok())
    {
        std::fprintf(stderr, "qm7xx-sim: %s\nTry 'qm7xx-sim --help'.\n", parsed.error.c_str());
        return 2;
    }
    const SimOptions& options = parsed.options;
    if (options.help)
    {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }

    std::string error;
    const std::unique_ptr<SerialLine> line = OpenSerialLine(options.port, error);
    if (!line)
    {
        std::fprintf(stderr, "qm7xx-sim: cannot open %s: %s\n", options.port.c_str(),
                     error.c_str());
        return 1;
    }
    InstallStopHandler();

    FrameSchedule schedule(options);
    const Clock::time_point start = Clock::now();
    Transmission t;
    bool failed = false;
    while (schedule.Next(t))
    {
        if (!Send(t, schedule, options, *line, start, failed))
            break;
        if (options.verbose)
        {
            std::puts(Describe(t, options).c_str());
            std::fflush(stdout);
        }
    }
    if (failed)
    {
        std::fprintf(stderr, "qm7xx-sim: writing to %s failed\n", options.port.c_str());
        return 1;
    }
    line->Drain();
    if (StopRequested())
        std::fprintf(stderr, "qm7xx-sim: stopped\n");
    return 0;
}
