// A reading panel as the main window holds it: what it paints, when it repaints, how it blinks.

#include "tests/e2e/WindowShot.h"
#include "tests/win/support/MessagePump.h"
#include "tests/win/ui/MainWindowTest.h"

#include <cstdlib>

namespace
{

using PanelTest = MainWindowTest;

TEST_F(PanelTest, QuestionMarksCentredThenAValueWithARaisedTwoAndWideTextClippedOnBothSides)
{
    CReadingPanel& panel = window.panel1;
    panel.SetBlinking(false);
    panel.ClearReading();
    const WindowShot unknown(panel.m_hWnd);
    EXPECT_EQ(unknown.At(0, 0), DEFAULT_BACKGROUND_COLOUR);
    EXPECT_GT(unknown.Count(DEFAULT_TEXT_COLOUR), 50) << "\"???\" drawn in the text colour";
    const RECT ink = unknown.InkBox(DEFAULT_BACKGROUND_COLOUR);
    EXPECT_LE(std::abs(ink.left - (unknown.Width() - 1 - ink.right)), 3) << "centred across";
    EXPECT_LE(std::abs(ink.top - (unknown.Height() - 1 - ink.bottom)), unknown.Height() / 4);

    panel.SetReading(10.0);
    const WindowShot klx(panel.m_hWnd);
    EXPECT_GT(klx.Count(DEFAULT_TEXT_COLOUR), unknown.Count(DEFAULT_TEXT_COLOUR))
        << "\"10.0 kLx\" has more ink than \"???\"";
    const RECT plain = klx.InkBox(DEFAULT_BACKGROUND_COLOUR); // no raised part
    panel.SetUnitCode(UNIT_WM2);
    panel.RedrawWindow();
    // "10.0 W/m" and a raised "2".
    const RECT raised = WindowShot(panel.m_hWnd).InkBox(DEFAULT_BACKGROUND_COLOUR);
    EXPECT_LT(raised.top, plain.top - (plain.bottom - plain.top) / 8);

    panel.MoveWindow(0, 0, 20, 60);
    panel.ClearReading();
    const WindowShot narrow(panel.m_hWnd);
    const RECT clipped = narrow.InkBox(DEFAULT_BACKGROUND_COLOUR);
    EXPECT_EQ(clipped.left, 0);
    EXPECT_EQ(clipped.right, narrow.Width() - 1);
}

TEST_F(PanelTest, RepaintsOnlyOnAChangeAndBlinksEveryHalfSecondRepaintingAtEveryTick)
{
    CReadingPanel& panel = window.panel1;
    panel.SetBlinking(false);
    MessageSpy panelSpy(panel.m_hWnd);
    const auto paints = [&] { return panelSpy.Count(WM_PAINT); };
    panel.SetReading(1.5);
    int start = paints();
    panel.SetReading(1.5);
    panel.SetUnitOptions(CONV_NONE, 1, DEFAULT_K);
    EXPECT_EQ(paints(), start);
    panel.SetReading(1.6);
    panel.SetUnitOptions(CONV_TO_WM2, 1, DEFAULT_K);
    EXPECT_EQ(paints(), start + 2);
    panel.ClearReading();
    panel.SetReading(1.6); // the same value, but it leaves "???"
    EXPECT_EQ(paints(), start + 4);

    panel.SetUnitCode(UNIT_UMOL); // the units dialog cannot change a umol panel
    panel.SetUnitOptions(CONV_TO_KLX, 0, 2.0);
    EXPECT_EQ(paints(), start + 4);
    EXPECT_EQ(panel.units.conversionMode, CONV_TO_WM2);

    start = paints();
    panel.SetBlinking(true);
    ASSERT_TRUE(PumpUntil([&] { return panel.IsHiddenPhase(); }, 1500));
    EXPECT_EQ(WindowShot(panel.m_hWnd).CountOther(DEFAULT_BACKGROUND_COLOUR), 0)
        << "hidden: background only";
    ASSERT_TRUE(PumpUntil([&] { return !panel.IsHiddenPhase(); }, 1500));
    EXPECT_GT(WindowShot(panel.m_hWnd).CountOther(DEFAULT_BACKGROUND_COLOUR), 0);
    EXPECT_EQ(paints() - start, panelSpy.Count(WM_TIMER, TIMER_BLINK)) << "every tick repaints";

    panel.SendMessage(WM_TIMER, TIMER_BLINK); // into the hidden half, then stopped
    panel.SetBlinking(false);
    EXPECT_FALSE(panel.IsHiddenPhase()) << "stopping clears the hidden phase";
    const int ticks = panelSpy.Count(WM_TIMER, TIMER_BLINK);
    PumpFor(700);
    EXPECT_EQ(panelSpy.Count(WM_TIMER, TIMER_BLINK), ticks);
}

} // namespace
