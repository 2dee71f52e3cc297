#include "recording/LogFormat.h"

#include "units/UnitModel.h"

#include <cstdio>

namespace
{

constexpr char TIMESTAMP_COLUMN[] = "Data i Godzina";
constexpr char LINE_END[] = "\r\n";

std::string UnitSuffix(int unitCode)
{
    switch (unitCode)
    {
    case UNIT_WM2:
    case UNIT_WM2_FINE:
        return "[W/m2]";
    case UNIT_KLX:
        return "[kLx]";
    case UNIT_UMOL:
        return "[umol/sm2]";
    default:
        return "";
    }
}

std::string ChannelColumn(int channel, int unitCode)
{
    return "Natężenie światła" + std::to_string(channel) + UnitSuffix(unitCode);
}

} // namespace

const char* LogSeparator(int sepFormat)
{
    switch (sepFormat)
    {
    case SEP_COMMA:
        return ",";
    case SEP_SEMICOLON:
        return ";";
    default:
        return "\t";
    }
}

std::string FormatLogTimestamp(const LocalTime& t)
{
    char text[64];
    std::snprintf(text, sizeof text, "%04d.%02d.%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

std::string FormatLogValue(double raw, int unitCode)
{
    return FormatNumber(unitCode == UNIT_WM2_FINE ? "%.2f" : "%.1f", raw);
}

int LogSelectionOf(bool fileLogCanal1, bool fileLogCanal2)
{
    return (fileLogCanal1 ? LOG_CHANNEL1 : 0) | (fileLogCanal2 ? LOG_CHANNEL2 : 0);
}

std::string BuildLogHeader(int selection, int unit1, int unit2, const char* separator)
{
    std::string header = TIMESTAMP_COLUMN;
    switch (selection)
    {
    case LOG_CHANNEL1:
        header += separator + ChannelColumn(1, unit1);
        break;
    case LOG_CHANNEL2:
        header += separator + ChannelColumn(2, unit2);
        break;
    case LOG_BOTH_CHANNELS:
        header += separator + ChannelColumn(1, unit1) + separator + ChannelColumn(2, unit2);
        break;
    default:
        return "";
    }
    return header + LINE_END;
}
