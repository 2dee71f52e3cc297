// What the chart records of a reading panel: its value as shown, in the unit shown, only while
// the panel is visible with a reading and no error.

#include "chart/PanelSample.h"
#include "tests/win/support/DialogTemplate.h"
#include "toolkit/Dialog.h"
#include "ui/ReadingPanel.h"

#include <gtest/gtest.h>

namespace
{

TEST(PanelSample, IsTheShownValueOfAVisiblePanelWithAGoodReading)
{
    DialogTemplate layout(WS_POPUP, 200, 100);
    layout.Add(L"Static", 1004, SS_BLACKRECT, 0, 0, 200, 100);
    CDialog host(layout.Get());
    ASSERT_TRUE(host.Create());
    CReadingPanel panel;
    ASSERT_TRUE(panel.SubclassDlgItem(1004, host));

    const struct
    {
        const char* what;
        int unitCode, mode;
        bool reading, blinking, visible;
        bool good;
        double value;
        ShownUnit unit;
    } cases[] = {
        {"no reading yet", UNIT_KLX, CONV_NONE, false, false, true, false, 0.0, ShownUnit::None},
        {"kLx as sent", UNIT_KLX, CONV_NONE, true, false, true, true, 10.0, ShownUnit::Klx},
        {"kLx shown in W/m2", UNIT_KLX, CONV_TO_WM2, true, false, true, true, 14.7, ShownUnit::Wm2},
        {"umol, never converted", UNIT_UMOL, CONV_TO_KLX, true, false, true, true, 10.0,
         ShownUnit::Umol},
        {"a meter error (blinking)", UNIT_KLX, CONV_NONE, true, true, true, false, 0.0,
         ShownUnit::None},
        {"the hidden second panel", UNIT_KLX, CONV_NONE, true, false, false, false, 0.0,
         ShownUnit::None},
    };
    for (const auto& c : cases)
    {
        panel.SetUnitCode(UNIT_KLX); // options are taken only while the meter does not send umol
        panel.SetUnitOptions(UnitOptions{c.mode, true, 1.47});
        panel.SetUnitCode(c.unitCode);
        panel.ClearReading();
        if (c.reading)
            panel.SetReading(10.0);
        panel.SetBlinking(c.blinking);
        panel.ShowWindow(c.visible ? SW_SHOW : SW_HIDE);
        const ChannelSample sample = SampleOf(panel);
        EXPECT_EQ(sample.good, c.good) << c.what;
        if (c.good)
        {
            EXPECT_DOUBLE_EQ(sample.value, c.value) << c.what;
            EXPECT_EQ(sample.unit, c.unit) << c.what;
        }
    }
    panel.SetBlinking(false);
    DestroyWindow(host.m_hWnd);
}

} // namespace
