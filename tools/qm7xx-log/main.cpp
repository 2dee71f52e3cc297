// qm7xx-log: receives a QM-700 or QM-701 light meter on a serial port and logs its readings,
// without a window. See --help.

#include "tools/qm7xx-log/Console.h"
#include "tools/qm7xx-log/LoggerOptions.h"
#include "tools/qm7xx-log/LoggerRun.h"

#include "version.h"

#include <cstdio>

int main(int argc, char** argv)
{
    const LoggerParse parsed = ParseLoggerOptions(Utf8Arguments(argc, argv));
    if (!parsed.Ok())
    {
        std::fprintf(stderr, "qm7xx-log: %s\n\n%s", parsed.error.c_str(), LoggerUsage().c_str());
        return EXIT_USAGE;
    }
    if (parsed.options.help)
    {
        std::fputs(LoggerUsage().c_str(), stdout);
        return EXIT_DONE;
    }
    if (parsed.options.version)
    {
        std::printf("qm7xx-log %s\n", QM_VERSION_TEXT);
        return EXIT_DONE;
    }
    return RunLogger(parsed.options);
}
