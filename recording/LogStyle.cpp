#include "recording/LogStyle.h"

#include "recording/Cp1250.h"
#include "units/UnitModel.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace
{

constexpr char NO_VALUE[] = "???";

std::string IsoColumn(int channel, int unitCode)
{
    std::string name = "light" + std::to_string(channel);
    switch (unitCode)
    {
    case UNIT_WM2:
    case UNIT_WM2_FINE:
        return name + "_wm2";
    case UNIT_KLX:
        return name + "_klx";
    case UNIT_UMOL:
        return name + "_umol_s_m2";
    default:
        return name;
    }
}

std::string IsoHeader(int selection, int unit1, int unit2, const char* separator)
{
    switch (selection)
    {
    case LOG_CHANNEL1:
        return "time" + (separator + IsoColumn(1, unit1)) + "\n";
    case LOG_CHANNEL2:
        return "time" + (separator + IsoColumn(2, unit2)) + "\n";
    case LOG_BOTH_CHANNELS:
        return "time" + (separator + IsoColumn(1, unit1)) + separator + IsoColumn(2, unit2) + "\n";
    default:
        return "";
    }
}

} // namespace

const char* StyleSeparator(LogStyle style, int sepFormat)
{
    switch (style)
    {
    case LogStyle::Excel:
        return LogSeparator(SEP_SEMICOLON);
    case LogStyle::Iso:
        return LogSeparator(SEP_COMMA);
    default:
        return LogSeparator(sepFormat);
    }
}

std::string StyleTimestamp(LogStyle style, const LocalTime& t)
{
    if (style == LogStyle::Qm7xx)
        return FormatLogTimestamp(t);
    char text[64];
    const char* dateTime =
        style == LogStyle::Iso ? "%04d-%02d-%02dT%02d:%02d:%02d" : "%04d-%02d-%02d %02d:%02d:%02d";
    int length = std::snprintf(text, sizeof text, dateTime, t.year, t.month, t.day, t.hour,
                               t.minute, t.second);
    if (style == LogStyle::Iso)
    {
        const int offset = std::abs(t.utcOffsetMinutes);
        std::snprintf(text + length, sizeof text - length, "%c%02d:%02d",
                      t.utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    }
    return text;
}

std::string StyleValue(LogStyle style, bool valid, double raw, int unitCode)
{
    if (!valid)
        return style == LogStyle::Iso ? "" : NO_VALUE;
    std::string value = FormatLogValue(raw, unitCode);
    if (style == LogStyle::Excel)
        std::replace(value.begin(), value.end(), '.', ',');
    return value;
}

const char* StyleLineEnd(LogStyle style)
{
    return style == LogStyle::Iso ? "\n" : "\r\n";
}

std::string StyleHeader(LogStyle style, int selection, int unit1, int unit2, const char* separator)
{
    if (style == LogStyle::Iso)
        return IsoHeader(selection, unit1, unit2, separator);
    return BuildLogHeader(selection, unit1, unit2, separator);
}

LogRecord StyleFileRecord(LogStyle style, const LogRecord& record)
{
    if (style == LogStyle::Iso)
        return record;
    return {Utf8ToCp1250(record.header), Utf8ToCp1250(record.line)};
}
