// What the chart records of a reading panel: its value as shown, in the unit shown, only while
// the panel is visible with a reading and no error.

#include "ui/chart/PanelSample.h"
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

    // What; unit code, conversion, a reading, blinking, visible; the value sampled (0: none).
    const std::tuple<const char*, int, int, bool, bool, bool, double, ShownUnit> cases[] = {
        {"no reading yet", UNIT_KLX, CONV_NONE, false, false, true, 0.0, ShownUnit::None},
        {"kLx as sent", UNIT_KLX, CONV_NONE, true, false, true, 10.0, ShownUnit::Klx},
        {"kLx shown in W/m2", UNIT_KLX, CONV_TO_WM2, true, false, true, 14.7, ShownUnit::Wm2},
        {"umol, never converted", UNIT_UMOL, CONV_TO_KLX, true, false, true, 10.0, ShownUnit::Umol},
        {"a meter error (blinking)", UNIT_KLX, CONV_NONE, true, true, true, 0.0, ShownUnit::None},
        {"the hidden second panel", UNIT_KLX, CONV_NONE, true, false, false, 0.0, ShownUnit::None},
    };
    for (const auto& [what, unitCode, mode, reading, blinking, visible, value, unit] : cases)
    {
        panel.SetUnitCode(UNIT_KLX); // options are taken only while the meter does not send umol
        panel.SetUnitOptions(UnitOptions{mode, true, 1.47});
        panel.SetUnitCode(unitCode);
        panel.ClearReading();
        if (reading)
            panel.SetReading(10.0);
        panel.SetBlinking(blinking);
        panel.ShowWindow(visible ? SW_SHOW : SW_HIDE);
        const ChannelSample sample = SampleOf(panel);
        EXPECT_EQ(sample.good, value != 0.0) << what;
        EXPECT_DOUBLE_EQ(sample.value, sample.good ? value : 0.0) << what;
        EXPECT_EQ(sample.unit, unit) << what;
    }
    panel.SetBlinking(false);
    DestroyWindow(host.m_hWnd);
}

} // namespace
