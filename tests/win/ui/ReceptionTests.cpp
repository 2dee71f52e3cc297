// The main window's reception, driven byte by byte as the serial worker delivers them.

#include "meter/FrameEncoder.h"
#include "tests/win/support/MessagePump.h"
#include "tests/win/support/MessageSpy.h"
#include "ui/MainDlg.h"
#include "ui/MainLayout.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{

std::vector<std::uint8_t> OneChannel(int raw, bool klx = true, bool measurementError = false,
                                     bool calibrationError = false)
{
    Frame17Spec f;
    f.deviceNumber = 1234;
    f.unitKlx = klx;
    f.raw = raw;
    f.measurementError = measurementError;
    f.calibrationError = calibrationError;
    return EncodeFrame(f);
}

Frame24Spec TwoChannelSpec(int raw1, int raw2)
{
    Frame24Spec f;
    f.deviceNumber = 7;
    f.channel1 = {1, false, raw1};
    f.channel2 = {3, true, raw2};
    return f;
}

std::vector<std::uint8_t> TwoChannel(int raw1, int raw2, bool secondChannel = true)
{
    Frame24Spec f = TwoChannelSpec(raw1, raw2);
    f.secondChannel = secondChannel;
    return EncodeFrame(f);
}

class ReceptionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<CMainDlg>();
        window->showAdv = 0;
        ASSERT_TRUE(window->Create());
        window->KillTimer(TIMER_PORT_RETRY);
        watch = std::make_unique<MessageSpy>(window->m_hWnd);
    }
    void TearDown() override
    {
        watch.reset();
        DestroyWindow(window->m_hWnd);
    }
    void Send(const std::vector<std::uint8_t>& bytes)
    {
        for (std::uint8_t b : bytes)
            window->SendMessage(SerialPort::WM_METER_BYTE, b, 0);
    }
    void SendStray(int count)
    {
        for (int i = 0; i < count; ++i)
            window->SendMessage(SerialPort::WM_METER_BYTE, 'x', 0);
    }
    std::string Status() const { return window->statusLine.GetWindowText(); }

    std::unique_ptr<CMainDlg> window;
    std::unique_ptr<MessageSpy> watch; // what the reception asks of the window
};

TEST_F(ReceptionTest, AGoodOneChannelFrameShowsItsValueUnitAndMeter)
{
    Send(OneChannel(1234));
    EXPECT_EQ(window->linkLost, 0);
    EXPECT_EQ(window->twoChannelMode, 0);
    EXPECT_DOUBLE_EQ(window->reading1, 123.4);
    EXPECT_TRUE(window->panel1.HasReading());
    EXPECT_DOUBLE_EQ(window->panel1.StoredValue(), 123.4);
    EXPECT_EQ(window->panel1.units.unitCode, UNIT_KLX);
    EXPECT_FALSE(window->panel1.IsBlinking());
    EXPECT_EQ(Status(), "QM-700 numer 1234. Pomiar prawidłowy.");
    EXPECT_EQ(window->frameCount, 0);

    Send(OneChannel(-42, false));
    EXPECT_EQ(window->panel1.units.unitCode, UNIT_WM2);
    EXPECT_DOUBLE_EQ(window->panel1.StoredValue(), -4.2);
}

TEST_F(ReceptionTest, SevenStrayBytesPutTheCarriageReturnAt24AndShowALostLink)
{
    Send(OneChannel(100));
    SendStray(7);
    Send(OneChannel(200));
    EXPECT_EQ(window->linkLost, 1);
    EXPECT_FALSE(window->panel1.HasReading());
    EXPECT_TRUE(window->panel1.IsBlinking());
    EXPECT_EQ(Status(), "Brak łączności z przyrządem.");
    Send(OneChannel(300));
    EXPECT_EQ(window->linkLost, 0);
    EXPECT_DOUBLE_EQ(window->panel1.StoredValue(), 30.0);
}

TEST_F(ReceptionTest, OtherCountsOfStrayBytesDropTheFrameSilently)
{
    for (int k = 1; k <= 32; ++k)
    {
        if (k == 7)
            continue;
        Send(OneChannel(100 + k));
        SendStray(k);
        Send(OneChannel(500)); // lost in the stray bytes, without a trace
        EXPECT_EQ(window->linkLost, 0) << k << " stray bytes";
        EXPECT_DOUBLE_EQ(window->panel1.StoredValue(), (100 + k) / 10.0) << k << " stray bytes";
        Send(OneChannel(600));
        EXPECT_DOUBLE_EQ(window->panel1.StoredValue(), 60.0)
            << "the next frame decodes after " << k;
    }
}

TEST_F(ReceptionTest, FortyNineBytesWithoutATerminatorAreThrownAwayWithTheByteAfterThem)
{
    Send(OneChannel(100));
    SendStray(49);
    EXPECT_EQ(window->frameCount, 49);
    Send(OneChannel(200)); // its first byte is the 50th: dropped, and the rest ends at count 16
    EXPECT_DOUBLE_EQ(window->panel1.StoredValue(), 10.0);
    Send(OneChannel(300)); // its carriage return comes at count 33: dropped silently
    EXPECT_DOUBLE_EQ(window->panel1.StoredValue(), 10.0);
    EXPECT_EQ(window->linkLost, 0);
    Send(OneChannel(400));
    EXPECT_DOUBLE_EQ(window->panel1.StoredValue(), 40.0);
}

TEST_F(ReceptionTest, ACarriageReturnAmongTheFirstSixteenBytesIsOrdinaryData)
{
    Send(OneChannel(100));
    std::vector<std::uint8_t> bytes(10, '0');
    bytes[4] = 0x0D;
    Send(bytes);
    EXPECT_EQ(window->frameCount, 10);
}

TEST_F(ReceptionTest, ADamagedFrameShowsALostLinkAtOnceWithoutTouchingTheWatchdog)
{
    std::vector<std::uint8_t> damaged = OneChannel(100);
    damaged[10] ^= 0x01;
    Send(damaged);
    EXPECT_EQ(window->linkLost, 1);
    EXPECT_EQ(window->watchdogTimerId, 0u)
        << "a bad frame neither starts nor restarts the watchdog";
    EXPECT_TRUE(window->panel2.IsBlinking());
    EXPECT_FALSE(window->panel2.HasReading());
}

TEST_F(ReceptionTest, TwoChannelsShowTheSecondPanelAndAOneChannelFrameHidesItAgain)
{
    Send(TwoChannel(567, 12345));
    EXPECT_TRUE(window->panel2.IsWindowVisible());
    EXPECT_EQ(watch->Count(WM_SIZE), 1);
    EXPECT_EQ(window->panel1.units.unitCode, UNIT_KLX);
    EXPECT_EQ(window->panel2.units.unitCode, UNIT_WM2_FINE);
    EXPECT_DOUBLE_EQ(window->panel2.StoredValue(), 123.45);
    EXPECT_EQ(Status(), "QM-701 numer 7. Pomiar prawidłowy. Dostępne dwa kanały pomiarów.");

    Send(TwoChannel(568, 12346));
    EXPECT_EQ(watch->Count(WM_SIZE), 1) << "same configuration: no new layout";

    Send(OneChannel(100));
    EXPECT_FALSE(window->panel2.IsWindowVisible());
    EXPECT_EQ(watch->Count(WM_SIZE), 2);
    EXPECT_DOUBLE_EQ(window->panel2.StoredValue(), 123.46)
        << "panel 2 keeps its value while hidden";
}

TEST_F(ReceptionTest, ATwoChannelFrameWithoutItsSecondChannelUpdatesOnlyPanelOne)
{
    Send(TwoChannel(567, 99, false));
    EXPECT_FALSE(window->panel2.IsWindowVisible());
    EXPECT_FALSE(window->panel2.HasReading());
    EXPECT_DOUBLE_EQ(window->reading2, 0.99) << "the value is kept all the same";
    EXPECT_EQ(window->panel2.units.unitCode, UNIT_WM2_FINE) << "unit codes follow the ranges";
    EXPECT_EQ(Status(), "QM-701 numer 7. Pomiar prawidłowy. Dostępny jeden kanał pomiarów.");
    EXPECT_EQ(watch->Count(WM_SIZE), 1)
        << "the channel mode changed, so the layout is renewed (still one panel)";
}

TEST_F(ReceptionTest, APanelBlinksWhileItsChannelOrTheCalibrationReportsAnError)
{
    Frame24Spec f = TwoChannelSpec(100, 200);
    f.measurementError2 = true;
    Send(EncodeFrame(f));
    EXPECT_FALSE(window->panel1.IsBlinking());
    EXPECT_TRUE(window->panel2.IsBlinking());
    EXPECT_EQ(Status(), "QM-701 numer 7. Błąd pomiaru! Dostępne dwa kanały pomiarów.");

    f.measurementError2 = false;
    f.calibrationError = true;
    Send(EncodeFrame(f));
    EXPECT_TRUE(window->panel1.IsBlinking());
    EXPECT_TRUE(window->panel2.IsBlinking());
    EXPECT_EQ(Status(), "QM-701 numer 7. Błąd kalibracji! Dostępne dwa kanały pomiarów.");

    f.calibrationError = false;
    Send(EncodeFrame(f));
    EXPECT_FALSE(window->panel1.IsBlinking());
    EXPECT_FALSE(window->panel2.IsBlinking());

    Send(OneChannel(100, true, true, true));
    EXPECT_TRUE(window->panel1.IsBlinking());
    EXPECT_EQ(Status(), "QM-700 numer 1234. Błąd pomiaru!");
}

TEST_F(ReceptionTest, AnUndefinedRangeCodeKeepsThePanelsUnitButShowsTheValue)
{
    Send(TwoChannel(100, 200));
    Frame24Spec f = TwoChannelSpec(100, 321);
    f.channel2.rangeCode = 6;
    Send(EncodeFrame(f));
    EXPECT_EQ(window->panel2.units.unitCode, UNIT_WM2_FINE);
    EXPECT_DOUBLE_EQ(window->panel2.StoredValue(), 321.0);
}

TEST_F(ReceptionTest, ALayoutChangeWhileMaximisedUsesTheMaximisedSize)
{
    window->SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(1000, 700));
    Send(TwoChannel(100, 200));
    EXPECT_EQ(watch->Last(WM_SIZE).wParam, static_cast<WPARAM>(SIZE_MAXIMIZED));
    EXPECT_EQ(watch->Last(WM_SIZE).lParam, MAKELPARAM(1000, 700));
    const MainLayout layout = ComputeMainLayout(1000, 700, GetSystemMetrics(SM_CXDLGFRAME),
                                                window->statusLineHeight, true);
    RECT panel2 = window->panel2.GetWindowRect();
    MapWindowPoints(nullptr, window->m_hWnd, reinterpret_cast<POINT*>(&panel2), 2);
    EXPECT_EQ(panel2.top, layout.panel2.y);
    EXPECT_EQ(panel2.bottom - panel2.top, layout.panel2.height);
}

TEST_F(ReceptionTest, TheWatchdogShowsALostLinkAfterFiveSecondsOfSilenceAndAgainFiveSecondsLater)
{
    Send(OneChannel(100));
    ASSERT_NE(window->watchdogTimerId, 0u);
    window->SendMessage(SerialPort::WM_METER_BYTE, 0x00, 0); // a frame begun and never finished
    EXPECT_TRUE(PumpUntil([&] { return watch->Count(WM_TIMER, TIMER_WATCHDOG) >= 1; }, 7000));
    EXPECT_EQ(window->linkLost, 1);
    EXPECT_EQ(window->frameCount, 0) << "the unfinished frame is discarded";
    EXPECT_FALSE(window->panel1.HasReading());
    EXPECT_TRUE(window->panel1.IsBlinking());
    EXPECT_EQ(Status(), "Brak łączności z przyrządem.");
    const ULONGLONG first = GetTickCount64();
    EXPECT_TRUE(PumpUntil([&] { return watch->Count(WM_TIMER, TIMER_WATCHDOG) >= 2; }, 7000))
        << "it keeps firing";
    EXPECT_GE(GetTickCount64() - first, 4000u);

    Send(OneChannel(200));
    EXPECT_EQ(window->linkLost, 0);
    EXPECT_EQ(Status(), "QM-700 numer 1234. Pomiar prawidłowy.");
}

} // namespace
