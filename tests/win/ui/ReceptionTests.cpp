// The main window's reception, driven byte by byte as the serial worker delivers them.

#include "tests/win/ui/MainWindowTest.h"
#include "tools/qm7xx-sim/FrameEncoder.h"

#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

// A QM-700 numbered 1234.
Bytes One(int raw, bool klx = true, bool errors = false)
{
    Frame17Spec f;
    f.deviceNumber = 1234;
    f.unitKlx = klx;
    f.raw = raw;
    f.measurementError = f.calibrationError = errors;
    return EncodeFrame(f);
}

// What Two() changes in the frame.
constexpr int NO_SECOND = 1, ERROR_2 = 2, CALIBRATION = 4, ODD_RANGE_2 = 8, KLX_2 = 16;

// A QM-701 numbered 7: channel 1 in kLx, channel 2 in W/m2 at 0.01 (or kLx).
Bytes Two(int raw1, int raw2, int twists = 0)
{
    Frame24Spec f;
    f.deviceNumber = 7;
    f.channel1 = {1, false, raw1};
    f.channel2 = {twists & ODD_RANGE_2 ? 6 : (twists & KLX_2 ? 1 : 3), true, raw2};
    f.secondChannel = !(twists & NO_SECOND);
    f.measurementError2 = twists & ERROR_2;
    f.calibrationError = twists & CALIBRATION;
    return EncodeFrame(f);
}

// The bytes as the serial worker delivers them, one message each.
void Send(CMainDlg& window, const Bytes& bytes)
{
    for (std::uint8_t b : bytes)
        window.SendMessage(SerialPort::WM_METER_BYTE, b, 0);
}

using ReceptionTest = MainWindowTest;

// Unit codes: 1 W/m2, 2 kLx, 4 W/m2 at 0.01.
TEST_F(ReceptionTest, GoodFramesShowTheirValuesUnitsAndErrorsAndTheSecondPanelFollowsTheChannels)
{
    const std::pair<Bytes, std::string> frames[] = {
        {One(-42, false), "QM-700 numer 1234. Pomiar prawidłowy. | -4.2 unit 1 | hidden ??? unit "
                          "2 blinking | 0 | 0 layouts"},
        {Two(100, 200, ERROR_2), "QM-701 numer 7. Błąd pomiaru! Dostępne dwa kanały pomiarów. | "
                                 "10 unit 2 | 2 unit 4 blinking | 2 | 1 layouts"},
        {Two(100, 200, CALIBRATION), "QM-701 numer 7. Błąd kalibracji! Dostępne dwa kanały "
                                     "pomiarów. | 10 unit 2 blinking | 2 unit 4 blinking | 2 | 1 "
                                     "layouts"},
        // An undefined range code keeps the panel's unit but shows the value.
        {Two(100, 321, ODD_RANGE_2), "QM-701 numer 7. Pomiar prawidłowy. Dostępne dwa kanały "
                                     "pomiarów. | 10 unit 2 | 321 unit 4 | 321 | 1 layouts"},
        // Without its second channel panel 2 keeps its value, but the unit follows the range and
        // the value is kept all the same.
        {Two(567, 99, NO_SECOND | KLX_2), "QM-701 numer 7. Pomiar prawidłowy. Dostępny jeden kanał "
                                          "pomiarów. | 56.7 unit 2 | hidden 321 unit 2 | 99 | 2 "
                                          "layouts"},
        // Panel 2 keeps its value while hidden.
        {One(100, true, true), "QM-700 numer 1234. Błąd pomiaru! | 10 unit 2 blinking | hidden "
                               "321 unit 2 | 99 | 3 layouts"},
    };
    for (const auto& [frame, shown] : frames)
    {
        Send(window, frame);
        EXPECT_EQ(Shown(), shown);
    }
}

TEST_F(ReceptionTest, ADamagedFrameOrTheWatchdogShowALostLinkUntilAGoodFrame)
{
    Bytes damaged = One(100);
    damaged[10] ^= 0x01;
    Send(window, damaged);
    EXPECT_EQ(window.watchdogTimerId, 0u) << "a bad frame neither starts nor restarts the watchdog";

    const std::string lost =
        "Brak łączności z przyrządem. | ??? unit 2 blinking | ??? unit 4 blinking | 2 | 1 layouts";
    Send(window, Two(100, 200));
    Send(window, damaged);
    EXPECT_EQ(Shown(), lost);
    Send(window, Two(100, 200));
    EXPECT_EQ(window.linkLost, 0);
    window.SendMessage(SerialPort::WM_METER_BYTE, 0x00, 0); // a frame begun and never finished
    for (int expiry = 0; expiry < 2; ++expiry)
    {
        window.SendMessage(WM_TIMER, TIMER_WATCHDOG);
        EXPECT_EQ(Shown(), lost);
        EXPECT_EQ(window.assembler.Count(), 0) << "the unfinished frame is discarded";
        window.panel1.SetReading(1.0); // so that the next expiry must clear it again
    }
    EXPECT_TRUE(window.KillTimer(TIMER_WATCHDOG)) << "expiry does not kill the timer";
}

TEST_F(ReceptionTest, ALayoutChangeWhileMaximisedUsesTheMaximisedSize)
{
    window.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(1000, 700));
    Send(window, Two(100, 200));
    EXPECT_EQ(spy->Last(WM_SIZE).wParam, static_cast<WPARAM>(SIZE_MAXIMIZED));
    ExpectLaidOut(1000, 700, true);
}

} // namespace
