#include "ui/chart/PanelSample.h"

#include "ui/ReadingPanel.h"

ChannelSample SampleOf(const CReadingPanel& panel)
{
    const bool shown = panel.m_hWnd && (GetWindowLongW(panel.m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
    if (!shown || !panel.HasReading() || panel.IsBlinking())
        return {};
    const ShownUnit unit = ShownUnitOf(panel.Units().unitCode, panel.Units().conversionMode);
    return {unit != ShownUnit::None, panel.ConvertValue(panel.StoredValue()), unit};
}
