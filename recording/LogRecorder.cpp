#include "recording/LogRecorder.h"

namespace
{

bool Channel1Valid(const LogSource& s)
{
    const MeterReading& r = s.reading;
    if (s.linkLost || r.calibrationError != 0)
        return false;
    return s.twoChannelMode ? r.measurementError1 == 0 : r.measurementError == 0;
}

bool Channel2Valid(const LogSource& s)
{
    const MeterReading& r = s.reading;
    if (s.linkLost || r.calibrationError != 0)
        return false;
    // A one-channel frame has no channel 2, whatever an earlier two-channel frame left in the
    // reading's second-channel flag.
    return s.twoChannelMode && r.measurementError2 == 0 && r.secondChannel != 0;
}

} // namespace

LogRecord LogRecorder::NextRecord(const LogSource& source, const LogLayout& layout,
                                  const LocalTime& now)
{
    const char* separator = StyleSeparator(layout.style, layout.fileSepFormat);
    const char* lineEnd = StyleLineEnd(layout.style);
    if (source.unit1 != loggedUnit1 || source.unit2 != loggedUnit2)
    {
        loggedUnit1 = source.unit1;
        loggedUnit2 = source.unit2;
        headerPending = true;
    }

    const int selection = LogSelectionOf(layout.fileLogCanal1, layout.fileLogCanal2);
    LogRecord record;
    if (selection == LOG_NO_CHANNEL)
    {
        record.line = std::string(separator) + lineEnd;
        return record;
    }
    if (headerPending)
    {
        headerPending = false;
        record.header = StyleHeader(layout.style, selection, loggedUnit1, loggedUnit2, separator);
    }

    const std::string value1 =
        StyleValue(layout.style, Channel1Valid(source), source.reading1, loggedUnit1);
    const std::string value2 =
        StyleValue(layout.style, Channel2Valid(source), source.reading2, loggedUnit2);
    record.line = StyleTimestamp(layout.style, now) + separator;
    switch (selection)
    {
    case LOG_CHANNEL1:
        record.line += value1;
        break;
    case LOG_CHANNEL2:
        record.line += value2;
        break;
    default:
        record.line += value1 + separator + value2;
        break;
    }
    record.line += lineEnd;
    return record;
}
