#include "ui/StatusText.h"

#include "res/Texts.h"

#include <cstdio>

namespace
{

// Large enough for every text below with any int in it; snprintf would truncate, never overrun.
constexpr std::size_t TEXT_BUFFER = 128;

template <typename... Args> std::string Format(const char* format, Args... args)
{
    char text[TEXT_BUFFER];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

std::string MeterText(const StatusFacts& facts)
{
    const MeterReading& reading = facts.reading;
    const bool two = facts.twoChannelMode;
    const char* model = two ? "QM-701" : "QM-700";
    const bool measurementError =
        two ? (reading.measurementError1 != 0 || reading.measurementError2 != 0)
            : reading.measurementError != 0;
    // A measurement error hides a calibration error.
    const char* format = measurementError                ? texts::STATUS_MEASUREMENT_ERROR
                         : reading.calibrationError != 0 ? texts::STATUS_CALIBRATION_ERROR
                                                         : texts::STATUS_OK;
    std::string text = Format(format, model, reading.deviceNumber);
    if (two)
        text += reading.secondChannel != 0 ? texts::STATUS_TWO_CHANNELS : texts::STATUS_ONE_CHANNEL;
    return text;
}

} // namespace

std::string BuildStatusText(const StatusFacts& facts)
{
    std::string text;
    if (facts.linkLost)
    {
        text = texts::LINK_LOST;
        if (facts.reconnectingPort > 0)
            text += Format(texts::STATUS_RECONNECTING, facts.reconnectingPort);
    }
    else
    {
        text = MeterText(facts);
    }
    if (facts.recording)
    {
        const int s = facts.fileIntervalSeconds;
        text += Format(texts::STATUS_RECORDING, s / 3600, (s % 3600) / 60, s % 60);
    }
    if (facts.logBacklog > 0)
        text += Format(texts::STATUS_LOG_BACKLOG, facts.logBacklog);
    return text;
}
