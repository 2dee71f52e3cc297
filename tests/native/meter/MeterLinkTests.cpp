// The meter link driven byte by byte, as the serial worker delivers them, and by the passing of
// time: what each panel is told, the state, the layout and the reconnect decisions.

#include "tools/qm7xx-sim/FrameEncoder.h"
#include "meter/MeterLink.h"
#include "units/UnitModel.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

// A QM-700 numbered 1234.
Bytes One(int raw, bool klx = true, bool errors = false)
{
    return EncodeFrame(Frame17Spec{1234, false, errors, klx, errors, raw});
}

// What Two() changes in the frame.
constexpr int NO_SECOND = 1, ERROR_2 = 2, CALIBRATION = 4, ODD_RANGE_2 = 8, KLX_2 = 16;

// A QM-701 numbered 7: channel 1 in kLx, channel 2 in W/m2 at 0.01 (or kLx).
Bytes Two(int raw1, int raw2, int twists = 0)
{
    const int range2 = twists & ODD_RANGE_2 ? 6 : (twists & KLX_2 ? 1 : 3);
    return EncodeFrame(Frame24Spec{7,
                                   !(twists & NO_SECOND),
                                   (twists & CALIBRATION) != 0,
                                   false,
                                   (twists & ERROR_2) != 0,
                                   {1, false, raw1},
                                   {range2, true, raw2}});
}

// What a front end would show after the bytes: each panel as the link last told it ("-" never
// told, "???" or its value, its unit code, "blinking"), whether panel 2 is shown, and how many
// layouts were asked for.
struct Screen
{
    void Apply(const LinkUpdate& u)
    {
        for (int i = 0; i < 2; ++i)
        {
            const PanelChange& c = u.panels[i];
            std::ostringstream text;
            (c.clear ? text << "???" : text << c.value) << (c.blinking ? " blinking" : "");
            if (c.touched)
                panels[i] = text.str();
        }
        layouts += u.layoutChanged;
    }
    void Feed(const Bytes& bytes)
    {
        for (std::uint8_t b : bytes)
            Apply(link.Feed(b, 0));
    }
    std::string Shown() const
    {
        std::ostringstream shown;
        shown << (link.IsLost() ? "lost" : "receiving");
        for (int i = 0; i < 2; ++i)
            shown << " | " << panels[i] << " unit " << link.UnitCode(i);
        shown << " | " << (link.SecondPanelShown() ? "two" : "one") << " panel, " << layouts
              << " layouts";
        return shown.str();
    }

    MeterLink& link;
    std::string panels[2] = {"-", "-"};
    int layouts = 0;
};

// Unit codes: 1 W/m2, 2 kLx, 4 W/m2 at 0.01.
TEST(MeterLink, GoodFramesShowTheirValuesUnitsAndErrorsAndTheSecondPanelFollowsTheChannels)
{
    MeterLink link(UNIT_KLX);
    Screen screen{link};
    EXPECT_EQ(link.State(), LinkState::NoReadingYet);
    const std::pair<Bytes, std::string> frames[] = {
        {One(-42, false), "receiving | -4.2 unit 1 | - unit 2 | one panel, 0 layouts"},
        {Two(100, 200, ERROR_2),
         "receiving | 10 unit 2 | 2 blinking unit 4 | two panel, 1 layouts"},
        {Two(100, 200, CALIBRATION),
         "receiving | 10 blinking unit 2 | 2 blinking unit 4 | two panel, 1 layouts"},
        // An undefined range code keeps the channel's unit but shows the value.
        {Two(100, 321, ODD_RANGE_2), "receiving | 10 unit 2 | 321 unit 4 | two panel, 1 layouts"},
        // Without its second channel panel 2 is not told the value, but the unit follows.
        {Two(567, 99, NO_SECOND | KLX_2),
         "receiving | 56.7 unit 2 | 321 unit 2 | one panel, 2 layouts"},
        {One(100, true, true),
         "receiving | 10 blinking unit 2 | 321 unit 2 | one panel, 3 layouts"},
    };
    for (const auto& [frame, shown] : frames)
    {
        screen.Feed(frame);
        EXPECT_EQ(screen.Shown(), shown);
    }
    // The record source carries the last values of both channels.
    EXPECT_EQ(link.RecordSource().reading2, 99);
    EXPECT_FALSE(link.RecordSource().twoChannelMode);
}

TEST(MeterLink, ADamagedFrameOrTheWatchdogShowALostLinkUntilAGoodFrame)
{
    MeterLink link(UNIT_KLX);
    Screen screen{link};
    Bytes damaged = One(100);
    damaged[10] ^= 0x01;
    for (std::uint8_t b : damaged)
        EXPECT_FALSE(link.Feed(b, 0).restartWatchdog) << "a bad frame never restarts the watchdog";

    const std::string lost =
        "lost | ??? blinking unit 2 | ??? blinking unit 4 | two panel, 1 layouts";
    screen.Feed(Two(100, 200));
    EXPECT_EQ(link.State(), LinkState::Receiving);
    screen.Feed(damaged);
    EXPECT_EQ(screen.Shown(), lost);
    screen.Feed(Two(100, 200));
    screen.Feed({0x00}); // a frame begun and never finished
    screen.Apply(link.WatchdogExpired());
    EXPECT_EQ(screen.Shown(), lost);
    EXPECT_EQ(link.State(), LinkState::Lost);
    EXPECT_EQ(link.PendingBytes(), 0) << "the unfinished frame is discarded";
    EXPECT_TRUE(link.RecordSource().linkLost);
}

TEST(MeterLink, APortIsReopenedEveryPeriodWhileItsHandleIsDeadOrTheMeterIsSilent)
{
    const LinkMillis silence = MeterLink::RECONNECT_SILENCE_MS;
    const LinkMillis period = MeterLink::RECONNECT_PERIOD_MS;
    MeterLink link(UNIT_KLX);
    link.PortOpened(true, 1000);
    EXPECT_FALSE(link.ReopenDue(1000 + silence - 1)) << "a port just opened gets its full silence";
    EXPECT_TRUE(link.ReopenDue(1000 + silence));

    // Good frames keep the port; a dead handle asks for a reopen at once, then every period.
    for (std::uint8_t b : One(10))
        link.Feed(b, 50000);
    EXPECT_FALSE(link.Reconnecting(50000 + silence - 1));
    link.PortDied();
    EXPECT_TRUE(link.ReopenDue(50001));
    link.PortOpened(false, 50001);
    EXPECT_FALSE(link.ReopenDue(50001 + period - 1));
    EXPECT_TRUE(link.ReopenDue(50001 + period));
    link.PortOpened(true, 60000);
    EXPECT_FALSE(link.Reconnecting(60000)) << "an opened port is alive until it proves otherwise";
    for (std::uint8_t b : One(10))
        link.Feed(b, 65000);
    EXPECT_FALSE(link.ReopenDue(65000 + silence - 1));
}

} // namespace
