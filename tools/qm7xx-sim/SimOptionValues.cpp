#include "tools/qm7xx-sim/SimOptionValues.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <map>

bool ParseInt(const std::string& text, long min, long max, int& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < min || value > max)
        return false;
    out = static_cast<int>(value);
    return true;
}

bool ParseDouble(const std::string& text, double& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(value))
        return false;
    out = value;
    return true;
}

bool ParseFrameRange(const std::string& text, FrameRange& out)
{
    if (text == "all")
    {
        out = {1, INT_MAX};
        return true;
    }
    const std::size_t dash = text.find('-');
    int first = 0;
    int last = 0;
    if (dash == std::string::npos)
    {
        if (!ParseInt(text, 1, INT_MAX, first))
            return false;
        last = first;
    }
    else
    {
        if (!ParseInt(text.substr(0, dash), 1, INT_MAX, first))
            return false;
        const std::string tail = text.substr(dash + 1);
        if (tail.empty())
            last = INT_MAX;
        else if (!ParseInt(tail, 1, INT_MAX, last) || last < first)
            return false;
    }
    out = {first, last};
    return true;
}

bool ParseModel(const std::string& text, MeterModel& out)
{
    if (text == "700" || text == "QM-700" || text == "qm-700" || text == "qm700")
        out = MeterModel::QM700;
    else if (text == "701" || text == "QM-701" || text == "qm-701" || text == "qm701")
        out = MeterModel::QM701;
    else
        return false;
    return true;
}

bool ParseUnit(const std::string& text, bool& klx)
{
    if (text == "klx")
        klx = true;
    else if (text == "wm2")
        klx = false;
    else
        return false;
    return true;
}

bool ParseRangeCode(const std::string& text, int& code)
{
    static const std::map<std::string, int> names = {
        {"wm2", 0}, {"klx", 1}, {"umol", 2}, {"wm2-fine", 3}};
    const auto found = names.find(text);
    if (found != names.end())
    {
        code = found->second;
        return true;
    }
    return ParseInt(text, 0, 7, code);
}

bool ParseChannels(const std::string& text, bool& second)
{
    int channels = 0;
    if (!ParseInt(text, 1, 2, channels))
        return false;
    second = channels == 2;
    return true;
}
