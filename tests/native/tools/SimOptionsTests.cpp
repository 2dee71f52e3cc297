#include "tools/qm7xx-sim/SimOptions.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

// Command lines a user might well type by mistake; each would otherwise play a meter other than
// the one asked for (a clamped level, an option of the other model ignored) or none at all.
TEST(SimOptions, RefusesMistypedCommandLinesWithAClearMessage)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "--port is required"},
        {"--port p COM9", "unknown option 'COM9'"},
        {"--port=p --model 702", "bad value '702' for --model: expected 700 or 701"},
        {"--port p --measurement-error 5-2", "bad value '5-2' for --measurement-error"},
        {"--port p --model 701 --range1 wm2-fine --level 1000", "--level is outside"},
        {"--port p --model 701 --unit wm2", "--unit is for the QM-700"},
        {"--port p --change-at 5", "--change-at needs what changes"},
    };
    for (const auto& [line, message] : cases)
    {
        std::istringstream in(line);
        const std::string error = ParseOptions({std::istream_iterator<std::string>(in), {}}).error;
        EXPECT_EQ(error.rfind(message, 0), 0u) << line;
    }
}
