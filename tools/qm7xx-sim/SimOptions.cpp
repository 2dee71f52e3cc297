#include "tools/qm7xx-sim/SimOptions.h"

#include "tools/qm7xx-sim/SimOptionValues.h"

#include <climits>
#include <functional>
#include <map>

namespace
{

struct OptionSpec
{
    bool takesValue;
    std::function<bool(SimOptions&, const std::string&)> apply;
    const char* expected; // what the value must look like, for the error message
};

// Every option the command line may hold, by name.
const std::map<std::string, OptionSpec>& Specs()
{
    static const std::map<std::string, OptionSpec> specs = {
        {"--help", {false, [](SimOptions& o, const std::string&) { return o.help = true; }, ""}},
        {"--port",
         {true,
          [](SimOptions& o, const std::string& v)
          {
              o.port = v;
              return !v.empty();
          },
          "a port name"}},
        {"--model",
         {true, [](SimOptions& o, const std::string& v) { return ParseModel(v, o.model); },
          "700 or 701"}},
        {"--device",
         {true,
          [](SimOptions& o, const std::string& v) { return ParseInt(v, 0, 65535, o.deviceNumber); },
          "a number from 0 to 65535"}},
        {"--unit",
         {true, [](SimOptions& o, const std::string& v) { return ParseUnit(v, o.unitKlx); },
          "klx or wm2"}},
        {"--channels",
         {true,
          [](SimOptions& o, const std::string& v) { return ParseChannels(v, o.secondChannel); },
          "1 or 2"}},
        {"--range1",
         {true, [](SimOptions& o, const std::string& v) { return ParseRangeCode(v, o.range1); },
          "wm2, klx, umol, wm2-fine or a code from 0 to 7"}},
        {"--range2",
         {true, [](SimOptions& o, const std::string& v) { return ParseRangeCode(v, o.range2); },
          "wm2, klx, umol, wm2-fine or a code from 0 to 7"}},
        {"--level",
         {true, [](SimOptions& o, const std::string& v) { return ParseDouble(v, o.level1); },
          "a number"}},
        {"--level2",
         {true, [](SimOptions& o, const std::string& v) { return ParseDouble(v, o.level2); },
          "a number"}},
        {"--fixed",
         {false, [](SimOptions& o, const std::string&) { return o.fixedValues = true; }, ""}},
        {"--drift",
         {true,
          [](SimOptions& o, const std::string& v)
          { return ParseDouble(v, o.driftPercent) && o.driftPercent >= 0 && o.driftPercent <= 50; },
          "a percentage from 0 to 50"}},
        {"--interval",
         {true,
          [](SimOptions& o, const std::string& v)
          { return ParseInt(v, 10, 3600000, o.intervalMs); },
          "milliseconds from 10 to 3600000"}},
        {"--fast", {false, [](SimOptions& o, const std::string&) { return o.fast = true; }, ""}},
        {"--measurement-error",
         {true,
          [](SimOptions& o, const std::string& v)
          { return ParseFrameRange(v, o.measurementError1); },
          "frames as N, N-M, N- or all"}},
        {"--measurement-error2",
         {true,
          [](SimOptions& o, const std::string& v)
          { return ParseFrameRange(v, o.measurementError2); },
          "frames as N, N-M, N- or all"}},
        {"--calibration-error",
         {true,
          [](SimOptions& o, const std::string& v)
          { return ParseFrameRange(v, o.calibrationError); },
          "frames as N, N-M, N- or all"}},
        {"--bad-checksum-every",
         {true,
          [](SimOptions& o, const std::string& v)
          { return ParseInt(v, 1, INT_MAX, o.badChecksumEvery); },
          "a number of frames, 1 or more"}},
        {"--stray-every",
         {true,
          [](SimOptions& o, const std::string& v) { return ParseInt(v, 1, INT_MAX, o.strayEvery); },
          "a number of frames, 1 or more"}},
        {"--stray-count",
         {true,
          [](SimOptions& o, const std::string& v) { return ParseInt(v, 1, 40, o.strayCount); },
          "a number of bytes from 1 to 40"}},
        {"--silence",
         {true,
          [](SimOptions& o, const std::string& v)
          {
              const std::size_t colon = v.find(':');
              return colon != std::string::npos &&
                     ParseInt(v.substr(0, colon), 1, INT_MAX, o.silenceAfterFrame) &&
                     ParseDouble(v.substr(colon + 1), o.silenceSeconds) && o.silenceSeconds > 0 &&
                     o.silenceSeconds <= 86400;
          },
          "FRAME:SECONDS, e.g. 10:6"}},
        {"--change-at",
         {true,
          [](SimOptions& o, const std::string& v)
          { return ParseInt(v, 1, INT_MAX, o.changeAtFrame); },
          "a frame number, 1 or more"}},
        {"--unit-after",
         {true,
          [](SimOptions& o, const std::string& v)
          {
              bool klx = false;
              if (!ParseUnit(v, klx))
                  return false;
              o.change.unitKlx = klx;
              return true;
          },
          "klx or wm2"}},
        {"--channels-after",
         {true,
          [](SimOptions& o, const std::string& v)
          {
              bool second = false;
              if (!ParseChannels(v, second))
                  return false;
              o.change.secondChannel = second;
              return true;
          },
          "1 or 2"}},
        {"--range1-after",
         {true,
          [](SimOptions& o, const std::string& v)
          {
              int code = 0;
              if (!ParseRangeCode(v, code))
                  return false;
              o.change.range1 = code;
              return true;
          },
          "wm2, klx, umol, wm2-fine or a code from 0 to 7"}},
        {"--range2-after",
         {true,
          [](SimOptions& o, const std::string& v)
          {
              int code = 0;
              if (!ParseRangeCode(v, code))
                  return false;
              o.change.range2 = code;
              return true;
          },
          "wm2, klx, umol, wm2-fine or a code from 0 to 7"}},
        {"--frames",
         {true,
          [](SimOptions& o, const std::string& v) { return ParseInt(v, 1, INT_MAX, o.frameLimit); },
          "a number of frames, 1 or more"}},
        {"--duration",
         {true,
          [](SimOptions& o, const std::string& v)
          { return ParseDouble(v, o.durationSeconds) && o.durationSeconds > 0; },
          "a number of seconds above 0"}},
        {"--seed",
         {true,
          [](SimOptions& o, const std::string& v)
          {
              int seed = 0;
              if (!ParseInt(v, 0, INT_MAX, seed))
                  return false;
              o.seed = static_cast<unsigned>(seed);
              return true;
          },
          "a number from 0 to 2147483647"}},
        {"--verbose",
         {false, [](SimOptions& o, const std::string&) { return o.verbose = true; }, ""}},
    };
    return specs;
}

// Options that only one model understands.
std::string CheckModel(const SimOptions& o, const std::vector<std::string>& given)
{
    const bool is700 = o.model == MeterModel::QM700;
    for (const std::string& name : given)
    {
        const bool only700 = name == "--unit" || name == "--unit-after";
        const bool only701 = name == "--channels" || name == "--range1" || name == "--range2" ||
                             name == "--level2" || name == "--measurement-error2" ||
                             name == "--channels-after" || name == "--range1-after" ||
                             name == "--range2-after";
        if (only700 && !is700)
            return name + " is for the QM-700 (--model 700); the QM-701 has --range1/--range2";
        if (only701 && is700)
            return name + " is for the QM-701 (--model 701)";
    }
    return {};
}

// Largest and smallest raw values the meter's five-character field can carry.
constexpr int RAW_MAX = 99999;
constexpr int RAW_MIN = -9999;

// The value range a channel can show: raw -9999..99999 in whole units, times 0.01 for range 3.
bool LevelFits(double level, int rangeCode)
{
    const double step = rangeCode == 3 ? 0.01 : 1.0;
    return level >= RAW_MIN * step && level <= RAW_MAX * step;
}

std::string CheckLevels(const SimOptions& o)
{
    const int range1 = o.model == MeterModel::QM700 ? 1 : o.range1;
    const int range1After = o.change.range1.value_or(range1);
    if (!LevelFits(o.level1, range1) || !LevelFits(o.level1, range1After))
        return "--level is outside what the meter can send for its unit (-9999 to 99999, or "
               "-99.99 to 999.99 for wm2-fine)";
    if (o.model == MeterModel::QM701 && (!LevelFits(o.level2, o.range2) ||
                                         !LevelFits(o.level2, o.change.range2.value_or(o.range2))))
        return "--level2 is outside what the meter can send for its unit (-9999 to 99999, or "
               "-99.99 to 999.99 for wm2-fine)";
    return {};
}

} // namespace

ParseResult ParseOptions(const std::vector<std::string>& args)
{
    ParseResult result;
    SimOptions& o = result.options;
    std::vector<std::string> given;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        std::string name = args[i];
        std::string value;
        bool inlineValue = false;
        const std::size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos)
        {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            inlineValue = true;
        }
        if (name == "-h")
            name = "--help";
        const auto spec = Specs().find(name);
        if (spec == Specs().end())
        {
            result.error = "unknown option '" + args[i] + "'";
            return result;
        }
        if (spec->second.takesValue && !inlineValue)
        {
            if (i + 1 >= args.size())
            {
                result.error = name + " needs a value: " + spec->second.expected;
                return result;
            }
            value = args[++i];
        }
        else if (!spec->second.takesValue && inlineValue)
        {
            result.error = name + " takes no value";
            return result;
        }
        if (!spec->second.apply(o, value))
        {
            result.error =
                "bad value '" + value + "' for " + name + ": expected " + spec->second.expected;
            return result;
        }
        given.push_back(name);
    }
    if (o.help)
        return result;
    if (o.port.empty())
    {
        result.error = "--port is required (a COM port such as COM8 on Windows, a tty path on "
                       "Linux)";
        return result;
    }
    result.error = CheckModel(o, given);
    if (result.error.empty())
        result.error = CheckLevels(o);
    const bool changes =
        o.change.unitKlx || o.change.secondChannel || o.change.range1 || o.change.range2;
    if (result.error.empty() && changes && o.changeAtFrame == 0)
        result.error = "--unit-after, --channels-after and --rangeN-after need --change-at";
    if (result.error.empty() && !changes && o.changeAtFrame != 0)
        result.error = "--change-at needs what changes: --unit-after, --channels-after, "
                       "--range1-after or --range2-after";
    return result;
}
