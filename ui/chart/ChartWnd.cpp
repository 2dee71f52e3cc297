#include "ui/chart/ChartWnd.h"

#include "ui/chart/ChartStatistics.h"
#include "ui/chart/PngFile.h"
#include "toolkit/DC.h"
#include "toolkit/Gdi.h"
#include "toolkit/TextConv.h"
#include "res/Texts.h"
#include "toolkit/WinApp.h"
#include "ui/PanelLook.h"

#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <vector>

namespace
{
// The statistics of a channel as a table: a fixed label (text) or a value (text null) per cell.
struct Cell
{
    int row, column;
    const char* text;
    ChartText value;
};
constexpr int TABLE_ROWS = 7;
constexpr int LABEL_ID_OFFSET = 20;
constexpr Cell CELLS[] = {
    {0, 1, texts::STATS_IN_VIEW, {}},
    {0, 2, texts::STATS_SINCE_RESET, {}},
    {1, 0, texts::STATS_MIN, {}},
    {1, 1, nullptr, ChartText::ViewMin},
    {1, 2, nullptr, ChartText::ResetMin},
    {2, 0, texts::STATS_MAX, {}},
    {2, 1, nullptr, ChartText::ViewMax},
    {2, 2, nullptr, ChartText::ResetMax},
    {3, 0, texts::STATS_AVERAGE, {}},
    {3, 1, nullptr, ChartText::ViewAverage},
    {3, 2, nullptr, ChartText::ResetAverage},
    {4, 1, texts::STATS_SINCE_MIDNIGHT, {}},
    {4, 2, texts::STATS_SINCE_RESET, {}},
    {5, 0, nullptr, ChartText::DoseName},
    {5, 1, nullptr, ChartText::DoseToday},
    {5, 2, nullptr, ChartText::DoseSinceReset},
    {6, 1, nullptr, ChartText::GapToday},
    {6, 2, nullptr, ChartText::GapSinceReset},
};

int CellId(int channel, size_t cell)
{
    const Cell& c = CELLS[cell];
    return c.text ? IDC_CHART_TEXTS + channel * CHART_IDS_PER_CHANNEL + LABEL_ID_OFFSET +
                        static_cast<int>(cell)
                  : ChartTextId(channel, c.value);
}

const std::string& FieldOf(const ChannelReport& report, ChartText text)
{
    switch (text)
    {
    case ChartText::ViewMin:
        return report.viewMin;
    case ChartText::ViewMax:
        return report.viewMax;
    case ChartText::ViewAverage:
        return report.viewAverage;
    case ChartText::ResetMin:
        return report.resetMin;
    case ChartText::ResetMax:
        return report.resetMax;
    case ChartText::ResetAverage:
        return report.resetAverage;
    case ChartText::DoseName:
        return report.doseName;
    case ChartText::DoseToday:
        return report.doseToday;
    case ChartText::DoseSinceReset:
        return report.doseSinceReset;
    case ChartText::GapToday:
        return report.gapToday;
    case ChartText::GapSinceReset:
        break;
    }
    return report.gapSinceReset;
}

void SetTextIfChanged(HWND control, const std::string& text)
{
    const std::wstring wide = Utf8ToWide(text);
    wchar_t shown[128] = {};
    GetWindowTextW(control, shown, 128);
    if (wide != shown)
        SetWindowTextW(control, wide.c_str());
}

void Move(HDWP& positions, HWND control, int x, int y, int width, int height)
{
    if (positions && control)
        positions = DeferWindowPos(positions, control, nullptr, x, y, width, height,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
}
} // namespace

CChartWnd::CChartWnd(ChartHistory& history, LookSource look)
    : CDialog(IDD_CHART), history_(history), look_(std::move(look))
{
}

bool CChartWnd::Open(CWnd& owner)
{
    if (m_hWnd)
    {
        if (IsIconic(m_hWnd))
            ShowWindow(SW_RESTORE);
        BringWindowToTop(m_hWnd);
        SetForegroundWindow(m_hWnd);
        return true;
    }
    // Creation sizes the window from its template first: the stored place must not follow that.
    const ChartSettings stored = settings;
    placed_ = false;
    if (!Create(&owner))
        return false;
    settings = stored;
    settings.open = true;
    PlaceWindow(owner.m_hWnd);
    ShowWindow(SW_SHOW);
    return true;
}

void CChartWnd::PlaceWindow(HWND owner)
{
    const RECT stored{settings.left, settings.top, settings.right, settings.bottom};
    // A place on a monitor that is gone would hide the window.
    if (settings.HasPlacement() && MonitorFromRect(&stored, MONITOR_DEFAULTTONULL))
        SetWindowPos(m_hWnd, nullptr, stored.left, stored.top, stored.right - stored.left,
                     stored.bottom - stored.top, SWP_NOZORDER | SWP_NOACTIVATE);
    else
        PlaceOnScreen(m_hWnd, owner);
    placed_ = true;
    RememberPlacement();
}

BOOL CChartWnd::OnInitDialog()
{
    CDialog::OnInitDialog();
    const HWND span = GetDlgItem(IDC_CHART_SPAN);
    for (const ChartSpanChoice& choice : CHART_SPANS)
        ::SendMessageW(span, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(Utf8ToWide(choice.text).c_str()));
    const int index = ChartSpanIndex(settings.spanSeconds);
    settings.spanSeconds = CHART_SPANS[index].seconds;
    ::SendMessageW(span, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    CreateStatisticsTexts();
    const RECT client = GetClientRect();
    Layout(client.right, client.bottom);
    Refresh();
    SetTimer(TIMER_CHART_REFRESH, CHART_REFRESH_MS);
    return TRUE;
}

void CChartWnd::BindControls()
{
    BindControl(IDC_CHART_VIEW, view_);
}

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

void CChartWnd::Refresh()
{
    if (!m_hWnd)
        return;
    shownLook_ = look_ ? look_() : ChartLookOf(PanelLook());
    shownVersion_ = history_.Version();
    view_.Show(&history_, settings.spanSeconds, shownLook_,
               reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
    for (int channel = 0; channel < ChartHistory::CHANNELS; ++channel)
    {
        const ChannelReport report =
            ReportChannel(history_, channel, settings.spanSeconds, SystemUtcOffset);
        for (const Cell& cell : CELLS)
            if (!cell.text)
                SetTextIfChanged(GetDlgItem(ChartTextId(channel, cell.value)),
                                 FieldOf(report, cell.value));
    }
}

bool CChartWnd::SaveImage(const std::wstring& path)
{
    const RECT area = view_.GetClientRect();
    std::string reason;
    if (SavePictureAsPng(
            path, area.right, area.bottom,
            [&](HDC dc, const RECT& picture) { view_.Draw(dc, picture); }, &reason))
        return true;
    std::string message = texts::PNG_SAVE_FAILED + WideToUtf8(path);
    if (!reason.empty())
        message += "\n\n" + reason;
    AppMessageBox(message, MB_OK);
    return false;
}

void CChartWnd::OnSaveImage()
{
    wchar_t file[MAX_PATH] = {};
    std::wcsncpy(file, Utf8ToWide(texts::PNG_DEFAULT_NAME).c_str(), MAX_PATH - 1);
    OPENFILENAMEW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = m_hWnd;
    const std::wstring filter = Utf8ToWide(texts::PNG_FILTER_NAME) + std::wstring(L"\0*.png\0", 8);
    choose.lpstrFilter = filter.c_str();
    choose.lpstrFile = file;
    choose.nMaxFile = MAX_PATH;
    choose.lpstrDefExt = L"png";
    choose.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (GetSaveFileNameW(&choose))
        SaveImage(file);
}

bool CChartWnd::OnCommand(UINT id, UINT code, HWND control)
{
    switch (id)
    {
    case IDC_CHART_SPAN:
        if (code == CBN_SELCHANGE)
        {
            const LRESULT index = ::SendMessageW(control, CB_GETCURSEL, 0, 0);
            if (index >= 0 &&
                index < static_cast<LRESULT>(sizeof CHART_SPANS / sizeof CHART_SPANS[0]))
                settings.spanSeconds = CHART_SPANS[index].seconds;
            Refresh();
        }
        return true;
    case IDC_CHART_RESET:
        history_.ResetTotals();
        Refresh();
        return true;
    case IDC_CHART_SAVE:
        OnSaveImage();
        return true;
    default:
        return CDialog::OnCommand(id, code, control);
    }
}

void CChartWnd::OnCancel()
{
    settings.open = false; // closed by the user: not reopened at the next start
    DestroyWindow(m_hWnd);
}

BOOL CChartWnd::PreTranslateMessage(MSG* msg)
{
    // A modeless window gets no dialog keys from the loop that runs it: Tab, arrows, Esc.
    return IsDialogMessageW(m_hWnd, msg);
}

void CChartWnd::RememberPlacement()
{
    if (!m_hWnd || !placed_ || IsIconic(m_hWnd) || IsZoomed(m_hWnd))
        return;
    const RECT r = GetWindowRect();
    settings.left = r.left;
    settings.top = r.top;
    settings.right = r.right;
    settings.bottom = r.bottom;
}

LRESULT CChartWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_SIZE:
        Layout(LOWORD(lParam), HIWORD(lParam));
        RememberPlacement();
        break;
    case WM_MOVE:
        RememberPlacement();
        break;
    case WM_GETMINMAXINFO:
        if (m_hWnd && labelWidth_ > 0)
        {
            const SIZE client = MinimumClientSize();
            RECT frame{0, 0, client.cx, client.cy};
            AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_STYLE)), FALSE,
                               static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_EXSTYLE)));
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == TIMER_CHART_REFRESH)
        {
            const ChartLook look = look_ ? look_() : shownLook_;
            if (history_.Version() != shownVersion_ || look.text != shownLook_.text ||
                look.background != shownLook_.background)
                Refresh();
            return 0;
        }
        break;
    case WM_DESTROY:
        KillTimer(TIMER_CHART_REFRESH);
        RememberPlacement();
        break;
    default:
        break;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}
