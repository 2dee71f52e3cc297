// The chart window's layout: the statistics texts made once, and every control placed at each
// size.

#include "toolkit/DC.h"
#include "toolkit/TextConv.h"
#include "toolkit/WinApp.h"
#include "ui/chart/ChartStatistics.h"
#include "ui/chart/ChartStatisticsTable.h"

#include <algorithm>

namespace
{
void Move(HDWP& positions, HWND control, int x, int y, int width, int height)
{
    if (positions && control)
        positions = DeferWindowPos(positions, control, nullptr, x, y, width, height,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

void CChartWnd::CreateStatisticsTexts()
{
    const HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    const HINSTANCE instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_hWnd, GWLP_HINSTANCE));
    for (int channel = 0; channel < ChartHistory::CHANNELS; ++channel)
    {
        // Row by row, so that the labels come before their values for a screen reader.
        for (size_t i = 0; i < sizeof CELLS / sizeof CELLS[0]; ++i)
        {
            const HWND text = CreateWindowExW(
                0, L"Static", CELLS[i].text ? Utf8ToWide(CELLS[i].text).c_str() : L"",
                WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, 0, 0, 0, 0, m_hWnd,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(CellId(channel, i))), instance,
                nullptr);
            ::SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
    }

    // Column widths from the texts they will hold, in this window's font.
    const CWindowDC dc(m_hWnd);
    const ScopedSelectObject selected(dc.Get(), font);
    const auto width = [&](const std::string& text)
    {
        const std::wstring wide = Utf8ToWide(text);
        SIZE size{};
        GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
        return static_cast<int>(size.cx);
    };
    labelWidth_ = 0;
    for (const char* label : {texts::STATS_MIN, texts::STATS_MAX, texts::STATS_AVERAGE})
        labelWidth_ = std::max(labelWidth_, width(label));
    for (ShownUnit unit : {ShownUnit::None, ShownUnit::Klx, ShownUnit::Wm2, ShownUnit::Umol})
        labelWidth_ = std::max(labelWidth_, width(DoseOf(unit).name));
    valueWidth_ = std::max({width(GapText(99 * 3600)), width(texts::STATS_SINCE_RESET),
                            width(std::string("99999.99 ") + texts::UNIT_UMOL)});
}

int CChartWnd::DluX(int units) const
{
    RECT r{0, 0, units, 0};
    MapDialogRect(m_hWnd, &r);
    return r.right;
}

int CChartWnd::DluY(int units) const
{
    RECT r{0, 0, 0, units};
    MapDialogRect(m_hWnd, &r);
    return r.bottom;
}

SIZE CChartWnd::MinimumClientSize() const
{
    const int margin = DluX(7), inner = DluX(6), gap = DluX(4);
    const int group = 2 * inner + labelWidth_ + gap + 2 * (valueWidth_ + gap);
    const int tableHeight = DluY(12) + TABLE_ROWS * DluY(10) + DluY(7);
    return {3 * margin + 2 * group, DluY(26) + DluY(110) + DluY(6) + tableHeight + margin};
}

void CChartWnd::Layout(int width, int height)
{
    if (!m_hWnd || width <= 0 || height <= 0)
        return;
    const int margin = DluX(7), inner = DluX(6), gap = DluX(4);
    const int rowHeight = DluY(10), textHeight = DluY(8);
    const int tableHeight = DluY(12) + TABLE_ROWS * rowHeight + DluY(7);
    HDWP positions = BeginDeferWindowPos(64);

    // The top row: the span to the left, the buttons to the right.
    const int top = DluY(6), buttonHeight = DluY(14), buttonWidth = DluX(80);
    Move(positions, GetDlgItem(IDC_CHART_SPAN_LABEL), margin, top + DluY(3), DluX(26), textHeight);
    Move(positions, GetDlgItem(IDC_CHART_SPAN), margin + DluX(28), top, DluX(70), DluY(80));
    Move(positions, GetDlgItem(IDC_CHART_SAVE), width - margin - buttonWidth, top, buttonWidth,
         buttonHeight);
    Move(positions, GetDlgItem(IDC_CHART_RESET), width - margin - 2 * buttonWidth - gap, top,
         buttonWidth, buttonHeight);

    // The statistics at the bottom, one group per channel side by side; the chart between.
    const int groupTop = height - margin - tableHeight;
    const int chartTop = top + buttonHeight + DluY(5);
    Move(positions, view_.m_hWnd, margin, chartTop, width - 2 * margin,
         std::max(0, groupTop - DluY(5) - chartTop));
    const int groupWidth = (width - 3 * margin) / 2;
    for (int channel = 0; channel < ChartHistory::CHANNELS; ++channel)
    {
        const int groupLeft = margin + channel * (groupWidth + margin);
        Move(positions, GetDlgItem(channel == 0 ? IDC_CHART_GROUP1 : IDC_CHART_GROUP2), groupLeft,
             groupTop, groupWidth, tableHeight);
        const int labelWidth = labelWidth_ + gap;
        const int valueWidth = std::max(0, (groupWidth - 2 * inner - labelWidth) / 2);
        for (size_t i = 0; i < sizeof CELLS / sizeof CELLS[0]; ++i)
        {
            const Cell& cell = CELLS[i];
            const int x = groupLeft + inner +
                          (cell.column == 0 ? 0 : labelWidth + (cell.column - 1) * valueWidth);
            // The doses stand a little apart from the values above them.
            const int y =
                groupTop + DluY(12) + cell.row * rowHeight + (cell.row >= 4 ? DluY(3) : 0);
            Move(positions, GetDlgItem(CellId(channel, i)), x, y,
                 (cell.column == 0 ? labelWidth : valueWidth) - gap / 2, textHeight);
        }
    }
    if (positions)
        EndDeferWindowPos(positions);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}
