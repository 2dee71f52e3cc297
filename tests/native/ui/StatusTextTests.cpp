#include "ui/StatusText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace
{

constexpr int LINK_OK = 0;
constexpr int LINK_LOST = 1;
constexpr int ONE_CHANNEL = 0;
constexpr int TWO_CHANNELS = 1;

MeterReading Reading(int deviceNumber)
{
    MeterReading r;
    r.noReadingYet = 0;
    r.deviceNumber = deviceNumber;
    return r;
}

std::string Text(const MeterReading& r, int link, int mode)
{
    return BuildStatusText(r, link, mode, false, 0);
}

TEST(StatusText, GoodReadingNamesTheModelAndNumber)
{
    EXPECT_EQ(Text(Reading(1234), LINK_OK, ONE_CHANNEL), "QM-700 numer 1234. Pomiar prawidłowy.");
    MeterReading two = Reading(7);
    two.secondChannel = 8;
    EXPECT_EQ(Text(two, LINK_OK, TWO_CHANNELS),
              "QM-701 numer 7. Pomiar prawidłowy. Dostępne dwa kanały pomiarów.");
    two.secondChannel = 0;
    EXPECT_EQ(Text(two, LINK_OK, TWO_CHANNELS),
              "QM-701 numer 7. Pomiar prawidłowy. Dostępny jeden kanał pomiarów.");
}

TEST(StatusText, LostLinkReplacesEverythingButTheRecordingPart)
{
    MeterReading r = Reading(80);
    r.calibrationError = 4;
    r.measurementError = 1;
    r.measurementError1 = 1;
    r.secondChannel = 8;
    for (int mode : {ONE_CHANNEL, TWO_CHANNELS})
    {
        EXPECT_EQ(Text(r, LINK_LOST, mode), "Brak łączności z przyrządem.") << mode;
        EXPECT_EQ(BuildStatusText(r, LINK_LOST, mode, true, 1),
                  "Brak łączności z przyrządem. Rejestracja do pliku co 00:00:01.")
            << mode;
    }
    EXPECT_EQ(Text(r, 2, ONE_CHANNEL), "Brak łączności z przyrządem.") << "any non-zero";
}

TEST(StatusText, CalibrationErrorInBothModels)
{
    MeterReading r = Reading(65535);
    r.calibrationError = 4;
    EXPECT_EQ(Text(r, LINK_OK, ONE_CHANNEL), "QM-700 numer 65535. Błąd kalibracji!");
    EXPECT_EQ(Text(r, LINK_OK, TWO_CHANNELS),
              "QM-701 numer 65535. Błąd kalibracji! Dostępny jeden kanał pomiarów.");
}

TEST(StatusText, MeasurementErrorHidesCalibrationError)
{
    MeterReading one = Reading(5);
    one.calibrationError = 4;
    one.measurementError = 1;
    EXPECT_EQ(Text(one, LINK_OK, ONE_CHANNEL), "QM-700 numer 5. Błąd pomiaru!");

    for (int channel : {1, 2})
    {
        MeterReading two = Reading(5);
        two.calibrationError = 4;
        two.secondChannel = 8;
        (channel == 1 ? two.measurementError1 : two.measurementError2) = channel;
        EXPECT_EQ(Text(two, LINK_OK, TWO_CHANNELS),
                  "QM-701 numer 5. Błąd pomiaru! Dostępne dwa kanały pomiarów.")
            << "channel " << channel;
    }
}

TEST(StatusText, OnlyTheFlagsOfTheCurrentFrameKindCount)
{
    // A one-channel error left over from an earlier frame is ignored in two-channel mode...
    MeterReading staleOne = Reading(9);
    staleOne.measurementError = 1;
    staleOne.secondChannel = 8;
    EXPECT_EQ(Text(staleOne, LINK_OK, TWO_CHANNELS),
              "QM-701 numer 9. Pomiar prawidłowy. Dostępne dwa kanały pomiarów.");

    // ...and two-channel errors and the second channel are ignored in one-channel mode.
    MeterReading staleTwo = Reading(9);
    staleTwo.measurementError1 = 1;
    staleTwo.measurementError2 = 2;
    staleTwo.secondChannel = 8;
    EXPECT_EQ(Text(staleTwo, LINK_OK, ONE_CHANNEL), "QM-700 numer 9. Pomiar prawidłowy.");

    // The calibration flag is carried by both kinds.
    staleTwo.calibrationError = 4;
    EXPECT_EQ(Text(staleTwo, LINK_OK, ONE_CHANNEL), "QM-700 numer 9. Błąd kalibracji!");
}

TEST(StatusText, FlagsCountWhenNonZeroWhateverTheirMask)
{
    MeterReading r = Reading(1);
    r.measurementError = 8;
    EXPECT_EQ(Text(r, LINK_OK, ONE_CHANNEL), "QM-700 numer 1. Błąd pomiaru!");
}

TEST(StatusText, NegativeDeviceNumberIsPrintedAsIs)
{
    EXPECT_EQ(Text(Reading(-209712), LINK_OK, ONE_CHANNEL),
              "QM-700 numer -209712. Pomiar prawidłowy.");
    EXPECT_EQ(Text(Reading(INT_MIN), LINK_OK, TWO_CHANNELS),
              "QM-701 numer -2147483648. Pomiar prawidłowy. Dostępny jeden kanał pomiarów.");
}

TEST(StatusText, RecordingPartSplitsTheIntervalIntoHoursMinutesSeconds)
{
    const MeterReading r = Reading(3);
    EXPECT_EQ(BuildStatusText(r, LINK_OK, ONE_CHANNEL, true, 3725),
              "QM-700 numer 3. Pomiar prawidłowy. Rejestracja do pliku co 01:02:05.");
    EXPECT_EQ(BuildStatusText(r, LINK_OK, ONE_CHANNEL, true, 86399),
              "QM-700 numer 3. Pomiar prawidłowy. Rejestracja do pliku co 23:59:59.");
    MeterReading two = Reading(3);
    two.secondChannel = 8;
    EXPECT_EQ(BuildStatusText(two, LINK_OK, TWO_CHANNELS, true, 100 * 3600),
              "QM-701 numer 3. Pomiar prawidłowy. Dostępne dwa kanały pomiarów. "
              "Rejestracja do pliku co 100:00:00.");
    EXPECT_EQ(BuildStatusText(r, LINK_OK, ONE_CHANNEL, false, 3725),
              "QM-700 numer 3. Pomiar prawidłowy.")
        << "nothing while recording is off";
}

TEST(StatusText, AbsurdIntervalsAreFormattedWithoutOverflow)
{
    const MeterReading r = Reading(3);
    EXPECT_EQ(BuildStatusText(r, LINK_LOST, ONE_CHANNEL, true, INT_MAX),
              "Brak łączności z przyrządem. Rejestracja do pliku co 596523:14:07.");
    // Negative intervals follow the same truncating arithmetic.
    EXPECT_EQ(BuildStatusText(r, LINK_LOST, ONE_CHANNEL, true, INT_MIN),
              "Brak łączności z przyrządem. Rejestracja do pliku co -596523:-14:-8.");
    EXPECT_EQ(BuildStatusText(r, LINK_LOST, ONE_CHANNEL, true, -3725),
              "Brak łączności z przyrządem. Rejestracja do pliku co -1:-2:-5.");
    EXPECT_EQ(BuildStatusText(r, LINK_LOST, ONE_CHANNEL, true, 0),
              "Brak łączności z przyrządem. Rejestracja do pliku co 00:00:00.");
}

TEST(StatusText, LongestTextFitsWithoutTruncation)
{
    MeterReading r = Reading(INT_MIN);
    r.measurementError1 = 1;
    r.secondChannel = 8;
    EXPECT_EQ(BuildStatusText(r, LINK_OK, TWO_CHANNELS, true, INT_MIN),
              "QM-701 numer -2147483648. Błąd pomiaru! Dostępne dwa kanały pomiarów. "
              "Rejestracja do pliku co -596523:-14:-8.");
}

} // namespace
