// The view commands of the main window: font, colours and units of the panels, the chart, help,
// and the icon drawn while the window is minimised.

#include "ui/chart/PanelSample.h"
#include "toolkit/DC.h"
#include "toolkit/WinApp.h"
#include "ui/MainDlg.h"
#include "units/UnitsDlg.h"

#include <commdlg.h>

#include <ctime>

namespace
{
constexpr int HELP_CONTEXT_MAIN = 10;
}

void CMainDlg::OnPaintMinimised()
{
    CPaintDC dc(*this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
    const RECT client = GetClientRect();
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc.m_hDC, x, y, icon_);
}

void CMainDlg::OnFont()
{
    LOGFONTW chosen = panel1_.LogFont();
    if (panel1_.ReadingFont())
        GetObjectW(panel1_.ReadingFont(), sizeof(LOGFONTW), &chosen);
    CHOOSEFONTW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = m_hWnd;
    choose.lpLogFont = &chosen;
    choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontW(&choose))
        return;
    for (CReadingPanel* panel : {&panel1_, &panel2_})
    {
        panel->SetLogFont(chosen);
        panel->SetFont(panel->ReadingFont(), TRUE);
        panel->RedrawWindow();
    }
}

void CMainDlg::OnColour(bool background)
{
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = m_hWnd;
    const PanelLook look = panel1_.Look();
    choose.rgbResult = background ? look.backgroundColour : look.textColour;
    choose.lpCustColors = customColours_;
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (ChooseColorW(&choose))
    {
        for (CReadingPanel* panel : {&panel1_, &panel2_})
            panel->SetColour(background, choose.rgbResult);
    }
    panel1_.RedrawWindow();
    panel2_.RedrawWindow();
}

void CMainDlg::OnUnits()
{
    UnitOptions options = panel1_.Units();
    if (!ChooseUnits(*this, link_.Reading(), options))
        return;
    panel1_.SetUnitOptions(options);
    panel2_.SetUnitOptions(options);
}

void CMainDlg::OnHelp()
{
    // Whatever asked for help, the main window always opens the same topic.
    LaunchHelp(m_hWnd, HELP_CONTEXT, HELP_CONTEXT_MAIN);
}

void CMainDlg::OnChartSample()
{
    chartHistory_.Sample(std::time(nullptr), SampleOf(panel1_), SampleOf(panel2_));
    // A chart left open at the last exit comes back once the main window shows.
    if (chartWnd_.settings.open && !chartWnd_.IsOpen() && !chartReopened_ && IsWindowVisible())
    {
        chartReopened_ = true;
        chartWnd_.Open(*this);
    }
}
