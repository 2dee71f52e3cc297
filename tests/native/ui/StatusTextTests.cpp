#include "ui/StatusText.h"

#include <gtest/gtest.h>

namespace
{

TEST(StatusText, NamesTheMeterAndItsWorstStateAndTheRecordingInterval)
{
    const struct
    {
        int device, calibration, error, error1, error2, secondChannel;
        bool linkLost, twoMode;
        int interval;
        const char* text; // interval -1: not recording
        int reconnecting = 0, backlog = 0;
    } cases[] = {
        {80, 4, 1, 1, 2, 8, 1, 1, 100 * 3600,
         "Brak łączności z przyrządem. Rejestracja do pliku co 100:00:00."},
        {80, 0, 0, 0, 0, 0, 1, 0, 1,
         "Brak łączności z przyrządem. Ponawiam połączenie z portem COM12. Rejestracja do pliku co "
         "00:00:01. Zapis do pliku wstrzymany: 3 wyników czeka.",
         12, 3},
        // The port is being reopened only while the link is lost.
        {5, 0, 0, 0, 0, 0, 0, 0, -1, "QM-700 numer 5. Pomiar prawidłowy.", 12},
        {5, 4, 1, 0, 0, 0, 0, 0, -1, "QM-700 numer 5. Błąd pomiaru!"},
        {5, 4, 0, 1, 0, 8, 0, 1, -1, "QM-701 numer 5. Błąd pomiaru! Dostępne dwa kanały pomiarów."},
        {5, 4, 0, 0, 2, 0, 0, 1, -1,
         "QM-701 numer 5. Błąd pomiaru! Dostępny jeden kanał pomiarów."},
        // Only the flags of the current frame kind count; the calibration flag is in both.
        {9, 4, 1, 0, 0, 8, 0, 1, -1,
         "QM-701 numer 9. Błąd kalibracji! Dostępne dwa kanały pomiarów."},
        {9, 4, 0, 1, 2, 8, 0, 0, -1, "QM-700 numer 9. Błąd kalibracji!"},
        {-209712, 0, 0, 0, 0, 0, 0, 0, 3725,
         "QM-700 numer -209712. Pomiar prawidłowy. Rejestracja do pliku co 01:02:05."},
    };
    for (const auto& c : cases)
    {
        StatusFacts facts{{},         c.linkLost, c.twoMode, c.reconnecting, c.interval >= 0,
                          c.interval, c.backlog};
        MeterReading& r = facts.reading;
        r.deviceNumber = c.device;
        r.calibrationError = c.calibration;
        r.measurementError = c.error;
        r.measurementError1 = c.error1;
        r.measurementError2 = c.error2;
        r.secondChannel = c.secondChannel;
        EXPECT_EQ(BuildStatusText(facts), c.text);
    }
}

} // namespace
