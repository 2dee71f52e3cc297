#include "ui/StatusText.h"

#include <cstdio>

namespace
{

// Large enough for every text below with any int in it; snprintf would truncate, never overrun.
constexpr std::size_t TEXT_BUFFER = 128;

std::string MeterText(const char* format, const char* model, int number)
{
    char text[TEXT_BUFFER];
    std::snprintf(text, sizeof text, format, model, number);
    return text;
}

std::string RecordingText(int seconds)
{
    char text[TEXT_BUFFER];
    std::snprintf(text, sizeof text, " Rejestracja do pliku co %02d:%02d:%02d.", seconds / 3600,
                  (seconds % 3600) / 60, seconds % 60);
    return text;
}

} // namespace

std::string BuildStatusText(const MeterReading& reading, int linkLost, int twoChannelMode,
                            bool recording, int fileIntervalSeconds)
{
    const bool twoChannels = twoChannelMode != 0;
    const char* model = twoChannels ? "QM-701" : "QM-700";
    const int number = reading.deviceNumber;

    std::string text;
    if (linkLost != 0)
    {
        text = "Brak łączności z przyrządem.";
    }
    else
    {
        const bool measurementError =
            twoChannels ? (reading.measurementError1 != 0 || reading.measurementError2 != 0)
                        : reading.measurementError != 0;
        // A measurement error hides a calibration error.
        if (measurementError)
        {
            text = MeterText("%s numer %d. Błąd pomiaru!", model, number);
        }
        else if (reading.calibrationError != 0)
        {
            text = MeterText("%s numer %d. Błąd kalibracji!", model, number);
        }
        else
        {
            text = MeterText("%s numer %d. Pomiar prawidłowy.", model, number);
        }
        if (twoChannels)
        {
            text += reading.secondChannel != 0 ? " Dostępne dwa kanały pomiarów."
                                               : " Dostępny jeden kanał pomiarów.";
        }
    }
    if (recording)
    {
        text += RecordingText(fileIntervalSeconds);
    }
    return text;
}
