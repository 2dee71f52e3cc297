#include "tools/qm7xx-log/LoggerOptions.h"

#include "tools/qm7xx-sim/SimOptionValues.h"

#include <functional>
#include <map>
#include <utility>

namespace
{

struct OptionSpec
{
    bool takesValue;
    std::function<bool(LoggerOptions&, const std::string&)> apply;
    const char* expected; // what the value must look like, for the error message
};

template <typename T>
bool ParseChoice(const std::string& text, const std::vector<std::pair<const char*, T>>& choices,
                 T& out)
{
    for (const auto& [name, value] : choices)
    {
        if (text == name)
        {
            out = value;
            return true;
        }
    }
    return false;
}

bool Flag(bool& flag)
{
    return flag = true;
}

static_assert(LONGEST_INTERVAL_SECONDS == 86400, "the --interval message below says so");

const std::map<std::string, OptionSpec>& Specs()
{
    using O = LoggerOptions;
    using V = const std::string&;
    static const std::map<std::string, OptionSpec> specs = {
        {"--port", {true, [](O& o, V v) { return !(o.port = v).empty(); }, "a port name"}},
        {"--out", {true, [](O& o, V v) { return !(o.out = v).empty(); }, "a file name"}},
        {"--interval",
         {true,
          [](O& o, V v) { return ParseInt(v, 1, LONGEST_INTERVAL_SECONDS, o.intervalSeconds); },
          "seconds from 1 to 86400"}},
        {"--channels",
         {true,
          [](O& o, V v)
          {
              std::pair<bool, bool> channels;
              const bool ok = ParseChoice<std::pair<bool, bool>>(
                  v, {{"1", {true, false}}, {"2", {false, true}}, {"both", {true, true}}},
                  channels);
              std::tie(o.channel1, o.channel2) = channels;
              return ok;
          },
          "1, 2 or both"}},
        {"--separator",
         {true,
          [](O& o, V v)
          {
              return ParseChoice<int>(
                  v, {{"tab", SEP_TAB}, {"comma", SEP_COMMA}, {"semicolon", SEP_SEMICOLON}},
                  o.sepFormat);
          },
          "tab, comma or semicolon"}},
        {"--format",
         {true,
          [](O& o, V v)
          {
              return ParseChoice<LogStyle>(
                  v,
                  {{"qm7xx", LogStyle::Qm7xx}, {"excel", LogStyle::Excel}, {"iso", LogStyle::Iso}},
                  o.style);
          },
          "qm7xx, excel or iso"}},
        {"--rotate",
         {true, [](O& o, V v) { return v == "daily" && Flag(o.rotateDaily); }, "daily"}},
        {"--overwrite", {false, [](O& o, V) { return Flag(o.overwrite); }, ""}},
        {"--quiet", {false, [](O& o, V) { return Flag(o.quiet); }, ""}},
        {"--wait", {false, [](O& o, V) { return Flag(o.wait); }, ""}},
        {"--help", {false, [](O& o, V) { return Flag(o.help); }, ""}},
        {"--version", {false, [](O& o, V) { return Flag(o.version); }, ""}},
    };
    return specs;
}

// Options that make sense only together.
std::string CheckCombination(const LoggerOptions& o, bool separatorGiven)
{
    if (o.port.empty())
        return "--port is required";
    if (o.out.empty() && (o.overwrite || o.rotateDaily))
        return "--overwrite and --rotate need --out";
    if (o.out.empty() && o.quiet)
        return "--quiet needs --out: the records would go nowhere";
    if (separatorGiven && o.style != LogStyle::Qm7xx)
        return "--separator is for --format qm7xx: excel and iso have their own";
    return "";
}

} // namespace

LoggerParse ParseLoggerOptions(const std::vector<std::string>& args)
{
    LoggerParse result;
    LoggerOptions& o = result.options;
    bool separatorGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        const std::string& name = args[i];
        const auto spec = Specs().find(name);
        if (spec == Specs().end())
        {
            result.error = "unknown option '" + name + "'";
            return result;
        }
        std::string value;
        if (spec->second.takesValue)
        {
            if (i + 1 >= args.size())
            {
                result.error = name + " needs a value: " + spec->second.expected;
                return result;
            }
            value = args[++i];
        }
        if (!spec->second.apply(o, value))
        {
            result.error = name + " '" + value + "': expected " + spec->second.expected;
            return result;
        }
        separatorGiven = separatorGiven || name == "--separator";
    }
    if (!o.help && !o.version)
        result.error = CheckCombination(o, separatorGiven);
    return result;
}
