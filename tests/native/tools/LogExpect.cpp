// log_expect LOG SIMULATOR-OPTIONS...: checks that a log qm7xx-log wrote in its default layout
// (tab, both channels, the qm7xx format) is, byte for byte, what the desktop program's record rules
// make of the same meter at the same moments. The meter is the simulator with fixed values, so a
// record holds either its first frame's values or, before that frame came, "???"; the moments are
// the logged timestamps. Exits 1, naming the first line that differs.

#include "meter/MeterLink.h"
#include "recording/LogRecorder.h"
#include "tools/qm7xx-sim/FrameSchedule.h"
#include "units/UnitModel.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace
{

int Fail(const std::string& message)
{
    std::fprintf(stderr, "log_expect: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Fail("usage: log_expect LOG SIMULATOR-OPTIONS...");
    std::ifstream in(argv[1], std::ios::binary);
    const std::string logged((std::istreambuf_iterator<char>(in)), {});
    const ParseResult sim = ParseOptions(std::vector<std::string>(argv + 2, argv + argc));
    if (!sim.Ok() || !sim.options.fixedValues)
        return Fail("the simulator's options, with --fixed: " + sim.error);
    Transmission first;
    FrameSchedule(sim.options).Next(first);

    MeterLink link(DEFAULT_UNIT_CODE);
    LogRecorder recorder;
    recorder.headerPending = true;
    std::string expected;
    int unknownBefore = 0;
    bool heard = false;
    std::istringstream lines(logged);
    for (std::string line; std::getline(lines, line);)
    {
        LocalTime t;
        if (std::sscanf(line.c_str(), "%4d.%2d.%2d %2d:%2d:%2d", &t.year, &t.month, &t.day, &t.hour,
                        &t.minute, &t.second) != 6)
            continue; // a header: the rules say where they go
        if (!heard && line.find("???") == std::string::npos)
        {
            for (std::size_t i = 0; i < first.frameSize; ++i)
                link.Feed(first.bytes[i], 0);
            heard = true;
        }
        unknownBefore += heard ? 0 : 1;
        expected +=
            StyleFileRecord(LogStyle::Qm7xx, recorder.NextRecord(link.RecordSource(), {}, t))
                .Text();
    }
    if (!heard || unknownBefore > 2)
        return Fail("the meter's values came late or never: " + std::to_string(unknownBefore) +
                    " records of \"???\" first");
    // Both in full: a log of a few seconds is a few lines.
    return logged == expected ? 0 : Fail("logged\n" + logged + "expected\n" + expected);
}
