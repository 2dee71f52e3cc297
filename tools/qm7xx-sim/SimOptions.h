#pragma once

// What the meter simulator is told to play: the meter, its values and the scripted faults.
// Parsed from the command line; every option is explained by UsageText() (SimUsage.h).

#include <climits>
#include <optional>
#include <string>
#include <vector>

enum class MeterModel
{
    QM700, // one channel, 17-byte frames
    QM701, // two channels, 24-byte frames
};

// Frames first..last (1-based, inclusive); first == 0 means none.
struct FrameRange
{
    int first = 0;
    int last = 0;

    bool Contains(int frame) const { return first != 0 && frame >= first && frame <= last; }
};

// What may change at --change-at.
struct MeterChange
{
    std::optional<bool> unitKlx;       // QM-700
    std::optional<bool> secondChannel; // QM-701
    std::optional<int> range1;         // QM-701
    std::optional<int> range2;         // QM-701
};

struct SimOptions
{
    std::string port;
    MeterModel model = MeterModel::QM700;
    int deviceNumber = 1;
    bool unitKlx = true;       // QM-700: kLx, else W/m2
    bool secondChannel = true; // QM-701: the second channel is on
    int range1 = 1;            // QM-701 range codes: 0 W/m2, 1 kLx, 2 umol, 3 W/m2 fine
    int range2 = 0;
    double level1 = 50.0; // values in the unit of the channel
    double level2 = 20.0;
    bool fixedValues = false;
    double driftPercent = 2.0;
    int intervalMs = 1000;
    bool fast = false; // no 300-baud pacing

    FrameRange measurementError1;
    FrameRange measurementError2;
    FrameRange calibrationError;
    int badChecksumEvery = 0;
    int strayEvery = 0;
    int strayCount = 5;
    int silenceAfterFrame = 0;
    double silenceSeconds = 0.0;
    int changeAtFrame = 0;
    MeterChange change;

    int frameLimit = 0;         // 0: no limit
    double durationSeconds = 0; // 0: no limit
    unsigned seed = 1;
    bool verbose = false;
    bool help = false;
};

struct ParseResult
{
    SimOptions options;
    std::string error; // empty when the command line was good

    bool Ok() const { return error.empty(); }
};

// Arguments without the program name.
ParseResult ParseOptions(const std::vector<std::string>& args);
