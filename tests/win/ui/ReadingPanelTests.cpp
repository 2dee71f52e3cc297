#include "tests/win/support/DialogTemplate.h"
#include "tests/win/support/MessageSpy.h"
#include "tests/win/support/MessagePump.h"
#include "tests/e2e/WindowShot.h"
#include "toolkit/Dialog.h"
#include "ui/ReadingPanel.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

constexpr WORD ID_PANEL = 1004;
constexpr COLORREF BACKGROUND = RGB(202, 228, 255);

// A dialog that holds one reading panel, as the main window does.
class PanelHost : public CDialog
{
public:
    explicit PanelHost(short width = 300, short height = 120)
        : CDialog(nullptr), template_(WS_POPUP | WS_VISIBLE, width, height)
    {
        template_.Add(L"STATIC", ID_PANEL, SS_BLACKRECT, 0, 0, width, height);
        dialogTemplate_ = template_.Get();
    }
    bool Open()
    {
        InitModalIndirect(dialogTemplate_);
        if (!Create())
            return false;
        panel.SetReadingFont(FontHandle(CreateFontIndirectW(&panel.logFont)));
        return true;
    }
    ~PanelHost() override
    {
        if (m_hWnd)
            DestroyWindow(m_hWnd);
    }

    CReadingPanel panel;

protected:
    void BindControls() override { BindControl(ID_PANEL, panel); }

private:
    DialogTemplate template_;
    const DLGTEMPLATE* dialogTemplate_ = nullptr;
};

class ReadingPanelTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(host.Open()); }
    WindowShot Shown() const { return WindowShot(host.panel.m_hWnd); }
    PanelHost host;
};

TEST_F(ReadingPanelTest, WithoutAReadingItShowsCentredQuestionMarksAndAValueReplacesThem)
{
    host.panel.ClearReading();
    const WindowShot shown = Shown();
    EXPECT_EQ(shown.At(0, 0), BACKGROUND);
    EXPECT_GT(shown.Count(DEFAULT_TEXT_COLOUR), 50) << "\"???\" drawn in the text colour";
    const RECT ink = shown.InkBox(BACKGROUND);
    const int left = ink.left, right = shown.Width() - 1 - ink.right;
    EXPECT_LE(std::abs(left - right), 3) << "centred horizontally";
    const int top = ink.top, bottom = shown.Height() - 1 - ink.bottom;
    EXPECT_LE(std::abs(top - bottom), shown.Height() / 4) << "centred vertically";

    host.panel.SetUnitCode(UNIT_KLX);
    host.panel.SetReading(123.4);
    EXPECT_GT(Shown().Count(DEFAULT_TEXT_COLOUR), shown.Count(DEFAULT_TEXT_COLOUR))
        << "\"123.4 kLx\" has more ink than \"???\"";
}

TEST_F(ReadingPanelTest, TheHiddenBlinkPhaseShowsTheBackgroundOnly)
{
    host.panel.SetUnitCode(UNIT_KLX);
    host.panel.SetReading(5.0);
    host.panel.SendMessage(WM_TIMER, TIMER_BLINK); // into the hidden half
    EXPECT_TRUE(host.panel.IsHiddenPhase());
    EXPECT_EQ(Shown().CountOther(BACKGROUND), 0);
    host.panel.SendMessage(WM_TIMER, TIMER_BLINK); // and back
    EXPECT_GT(Shown().CountOther(BACKGROUND), 0);
}

TEST_F(ReadingPanelTest, AnUnknownUnitShowsNothingButStillShowsQuestionMarks)
{
    host.panel.SetUnitCode(7);
    host.panel.SetReading(42.0);
    EXPECT_EQ(Shown().CountOther(BACKGROUND), 0);
    host.panel.ClearReading();
    EXPECT_GT(Shown().Count(DEFAULT_TEXT_COLOUR), 0);
}

TEST_F(ReadingPanelTest, AnUnchangedReadingIsNotRepaintedUnlessItWasCleared)
{
    host.panel.SetUnitCode(UNIT_KLX);
    host.panel.SetReading(1.5);
    MessageSpy counter(host.panel.m_hWnd);
    host.panel.SetReading(1.5);
    EXPECT_EQ(counter.Count(WM_PAINT), 0);
    host.panel.SetReading(1.6);
    EXPECT_EQ(counter.Count(WM_PAINT), 1) << "a new value is painted at once";
    host.panel.ClearReading();
    host.panel.SetReading(1.6);
    EXPECT_EQ(counter.Count(WM_PAINT), 3);
    EXPECT_TRUE(host.panel.HasReading());
}

TEST_F(ReadingPanelTest, BlinkingAlternatesTheTextWithTheBackgroundEveryHalfSecond)
{
    host.panel.ClearReading();
    MessageSpy counter(host.panel.m_hWnd);
    host.panel.SetBlinking(true);
    ASSERT_TRUE(PumpUntil([&] { return counter.Count(WM_TIMER, TIMER_BLINK) >= 2; }, 3000));
    EXPECT_EQ(counter.Count(WM_PAINT), counter.Count(WM_TIMER, TIMER_BLINK))
        << "every tick repaints";
    host.panel.SetBlinking(false);
    EXPECT_FALSE(host.panel.IsHiddenPhase()) << "stopping clears the hidden phase";
    const int ticks = counter.Count(WM_TIMER, TIMER_BLINK);
    PumpFor(700);
    EXPECT_EQ(counter.Count(WM_TIMER, TIMER_BLINK), ticks);
}

TEST_F(ReadingPanelTest, TheSquareMetreTwoIsRaisedAQuarterOfTheTextHeight)
{
    host.panel.SetUnitCode(UNIT_KLX);
    host.panel.SetReading(10.0);
    const RECT plain = Shown().InkBox(BACKGROUND); // "10.0 kLx": no raised part
    host.panel.SetUnitCode(UNIT_WM2);
    host.panel.RedrawWindow();
    const RECT raised = Shown().InkBox(BACKGROUND); // "10.0 W/m" with a raised "2"
    const int textHeight = plain.bottom - plain.top;
    EXPECT_LT(raised.top, plain.top - textHeight / 8) << "the 2 stands above the line";
}

TEST_F(ReadingPanelTest, UnitOptionsRepaintOnlyWhenTheyChangeAndNeverForUmol)
{
    host.panel.SetUnitCode(UNIT_KLX);
    host.panel.SetReading(10.0);
    MessageSpy counter(host.panel.m_hWnd);
    host.panel.SetUnitOptions(CONV_NONE, 1, DEFAULT_K);
    EXPECT_EQ(counter.Count(WM_PAINT), 0);
    host.panel.SetUnitOptions(CONV_TO_WM2, 1, DEFAULT_K);
    EXPECT_EQ(counter.Count(WM_PAINT), 1);
    host.panel.SetUnitCode(UNIT_UMOL);
    host.panel.SetUnitOptions(CONV_TO_KLX, 0, 2.0);
    EXPECT_EQ(counter.Count(WM_PAINT), 1);
    EXPECT_EQ(host.panel.units.conversionMode, CONV_TO_WM2);
}

TEST(ReadingPanelClipping, TextWiderThanThePanelIsCentredAndClippedOnBothSides)
{
    PanelHost narrow(20, 60);
    ASSERT_TRUE(narrow.Open());
    narrow.panel.ClearReading();
    const WindowShot shown(narrow.panel.m_hWnd);
    const RECT ink = shown.InkBox(BACKGROUND);
    EXPECT_EQ(ink.left, 0);
    EXPECT_EQ(ink.right, shown.Width() - 1);
}

} // namespace
