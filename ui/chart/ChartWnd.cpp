#include "ui/chart/ChartWnd.h"

#include "ui/chart/ChartStatistics.h"
#include "ui/chart/ChartStatisticsTable.h"
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
