#include "ui/MainLayout.h"
#include "ui/RaisedTwo.h"
#include "ui/StatusText.h"

#include <gtest/gtest.h>

namespace
{

using Ints = std::vector<int>;

// Each expectation: status line, panel 1 and panel 2 as x, y, width, height each.
TEST(MainLayout, PlacesTheStatusLineAndPanelsWithTruncatingHalves)
{
    const struct
    {
        int cx, cy, frame, statusHeight, two;
        Ints expected;
    } cases[] = {
        {534, 362, 3, 20, false, {3, 3, 528, 23, 3, 31, 528, 328, 0, 0, 0, 0}},
        {534, 362, 3, 21, true, {3, 3, 528, 24, 3, 32, 528, 163, 3, 198, 528, 163}},
        {100, 101, 4, 17, true, {4, 4, 92, 21, 4, 30, 92, 33, 4, 67, 92, 33}},
        {5, 1, 3, 1, true, {3, 3, -1, 4, 3, 12, -1, -8, 3, 7, -1, -8}}, // negative sizes passed on
    };
    for (const auto& c : cases)
    {
        const MainLayout l = ComputeMainLayout(c.cx, c.cy, c.frame, c.statusHeight, c.two != 0);
        Ints all;
        for (const LayoutRect& r : {l.statusLine, l.panel1, l.panel2})
            all.insert(all.end(), {r.x, r.y, r.width, r.height});
        EXPECT_EQ(all, c.expected);
    }
}

// The whole text is centred; the "2" box spans 200 pixels left and 193 right of its end, from
// 6/8 of the text height above the centre to 2/8 below, each part truncated toward zero.
TEST(RaisedTwo, PlacesTheShortenedTextAndTheRaisedTwoWithTruncatingHalves)
{
    const struct
    {
        BoxRect client;
        int width, height;
        Ints expected; // main box, then the "2" box, as left, top, right, bottom
    } cases[] = {
        {{0, 0, 528, 328}, 400, 103, {64, 113, 464, 215, 264, 87, 657, 189}},
        {{1, 1, 10, 12}, 401, 7, {-195, 3, 205, 9, 5, 1, 398, 7}},
        {{-11, -11, 0, 0}, 3, 9, {-6, -9, -4, -1, -204, -11, 189, -3}},
    };
    for (const auto& c : cases)
    {
        const RaisedTwoBoxes b = ComputeRaisedTwoBoxes(c.client, c.width, c.height);
        EXPECT_EQ(Ints({b.main.left, b.main.top, b.main.right, b.main.bottom, b.raised.left,
                        b.raised.top, b.raised.right, b.raised.bottom}),
                  c.expected);
    }
}

TEST(StatusText, NamesTheMeterAndItsWorstStateAndTheRecordingInterval)
{
    const struct
    {
        int device, calibration, error, error1, error2, secondChannel, linkLost, twoMode, interval;
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
        StatusFacts facts;
        MeterReading& r = facts.reading;
        r.deviceNumber = c.device;
        r.calibrationError = c.calibration;
        r.measurementError = c.error;
        r.measurementError1 = c.error1;
        r.measurementError2 = c.error2;
        r.secondChannel = c.secondChannel;
        facts.linkLost = c.linkLost != 0;
        facts.twoChannelMode = c.twoMode != 0;
        facts.recording = c.interval >= 0;
        facts.fileIntervalSeconds = c.interval;
        facts.reconnectingPort = c.reconnecting;
        facts.logBacklog = c.backlog;
        EXPECT_EQ(BuildStatusText(facts), c.text);
    }
}

} // namespace
