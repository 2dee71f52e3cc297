// A reading panel as the main window holds it: what it paints, when it repaints, how it blinks.

#include "tests/e2e/WindowShot.h"
#include "tests/win/support/MessagePump.h"
#include "tests/win/ui/MainWindowTest.h"

#include <cstdlib>

namespace
{

// A panel on a static control of its own, the size of the main window's panel.
class PanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HWND control = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 50,
                                       50, 530, 330, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(panel.SubclassWindow(control));
    }
    void TearDown() override { DestroyWindow(panel.m_hWnd); }
    CReadingPanel panel;
    const COLORREF background = PanelLook{}.backgroundColour;
    const COLORREF text = PanelLook{}.textColour;
};

TEST_F(PanelTest, QuestionMarksCentredThenAValueWithARaisedTwoAndWideTextClippedOnBothSides)
{
    panel.ClearReading();
    const WindowShot unknown(panel.m_hWnd);
    EXPECT_EQ(unknown.At(0, 0), background);
    EXPECT_GT(unknown.Count(text), 50) << "\"???\" drawn in the text colour";
    const RECT ink = unknown.InkBox(background);
    EXPECT_LE(std::abs(ink.left - (unknown.Width() - 1 - ink.right)), 3) << "centred across";
    EXPECT_LE(std::abs(ink.top - (unknown.Height() - 1 - ink.bottom)), unknown.Height() / 4);

    panel.SetReading(10.0);
    const WindowShot klx(panel.m_hWnd);
    EXPECT_GT(klx.Count(text), unknown.Count(text)) << "\"10.0 kLx\" has more ink than \"???\"";
    const RECT plain = klx.InkBox(background); // no raised part
    panel.SetUnitCode(UNIT_WM2);
    panel.RedrawWindow();
    // "10.0 W/m" and a raised "2".
    const RECT raised = WindowShot(panel.m_hWnd).InkBox(background);
    EXPECT_LT(raised.top, plain.top - (plain.bottom - plain.top) / 8);

    panel.MoveWindow(0, 0, 20, 60);
    panel.ClearReading();
    const WindowShot narrow(panel.m_hWnd);
    const RECT clipped = narrow.InkBox(background);
    EXPECT_EQ(clipped.left, 0);
    EXPECT_EQ(clipped.right, narrow.Width() - 1);
}

TEST_F(PanelTest, RepaintsOnlyOnAChangeAndBlinksEveryHalfSecondRepaintingAtEveryTick)
{
    MessageSpy panelSpy(panel.m_hWnd);
    const auto paints = [&] { return panelSpy.Count(WM_PAINT); };
    panel.SetReading(1.5);
    int start = paints();
    panel.SetReading(1.5);
    panel.SetUnitOptions({CONV_NONE, true, DEFAULT_K});
    EXPECT_EQ(paints(), start);
    panel.SetReading(1.6);
    panel.SetUnitOptions({CONV_TO_WM2, true, DEFAULT_K});
    EXPECT_EQ(paints(), start + 2);
    panel.ClearReading();
    panel.SetReading(1.6); // the same value, but it leaves "???"
    EXPECT_EQ(paints(), start + 4);

    start = paints();
    panel.SetBlinking(true);
    ASSERT_TRUE(PumpUntil([&] { return panel.IsHiddenPhase(); }, 1500));
    EXPECT_EQ(WindowShot(panel.m_hWnd).CountOther(background), 0) << "hidden: background only";
    ASSERT_TRUE(PumpUntil([&] { return !panel.IsHiddenPhase(); }, 1500));
    EXPECT_GT(WindowShot(panel.m_hWnd).CountOther(background), 0);
    EXPECT_EQ(paints() - start, panelSpy.Count(WM_TIMER, TIMER_BLINK)) << "every tick repaints";

    panel.SendMessage(WM_TIMER, TIMER_BLINK); // into the hidden half, then stopped
    panel.SetBlinking(false);
    EXPECT_FALSE(panel.IsHiddenPhase()) << "stopping clears the hidden phase";
    const int ticks = panelSpy.Count(WM_TIMER, TIMER_BLINK);
    PumpFor(700);
    EXPECT_EQ(panelSpy.Count(WM_TIMER, TIMER_BLINK), ticks);
}

} // namespace
