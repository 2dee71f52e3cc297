#include "ui/MainDlg.h"

#include "app/AboutDlg.h"
#include "app/AdvertDlg.h"
#include "app/ExtraSettingsDlg.h"
#include "app/SettingsRegistry.h"
#include "meter/MeterLine.h"
#include "meter/PortDlg.h"
#include "res/Texts.h"
#include "res/resource.h"
#include "toolkit/DC.h"
#include "toolkit/WinApp.h"
#include "ui/MainLayout.h"
#include "ui/StatusText.h"
#include "units/UnitsDlg.h"

#include <commdlg.h>

#include <string>

namespace
{
constexpr UINT ID_HELP_FRAMEWORK = 0xE146; // the toolkit's standard help command
constexpr UINT PORT_RETRY_PERIOD_MS = 500;
constexpr UINT ADVERT_DELAY_MS = 100;
constexpr UINT RECONNECT_TICK_MS = 1000;
constexpr UINT CHART_SAMPLE_MS = 500;
} // namespace

CMainDlg::CMainDlg(const AppSettings& settings)
    : CDialog(IDD_QM7XX_DIALOG), portNr_(settings.portNr), recording_(settings.recording),
      topmost_(settings.topmost), showAdv_(settings.showAdv), link_(settings.unitCode),
      chartWnd_(chartHistory_, [this] { return ChartLookOf(panel1_.Look()); })
{
    chartWnd_.settings = settings.chart;
    icon_ = LoadIconW(CWinApp::ResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    for (COLORREF& colour : customColours_)
        colour = RGB(255, 255, 255);
    for (CReadingPanel* panel : {&panel1_, &panel2_})
    {
        panel->SetLook(settings.look);
        panel->SetUnitCode(settings.unitCode);
        panel->SetUnitOptions(settings.units);
    }
}

CMainDlg::~CMainDlg() = default;

AppSettings CMainDlg::Settings() const
{
    AppSettings settings;
    settings.look = panel1_.Look();
    settings.units = panel1_.Units();
    settings.unitCode = panel1_.Units().unitCode;
    settings.portNr = portNr_;
    settings.recording = recording_;
    settings.topmost = topmost_;
    settings.showAdv = showAdv_;
    settings.chart = chartWnd_.settings;
    return settings;
}

void CMainDlg::BindControls()
{
    statusLine_.SubclassDlgItem(IDC_STATUS, *this);
    panel1_.SubclassDlgItem(IDC_PANEL1, *this);
    panel2_.SubclassDlgItem(IDC_PANEL2, *this);
}

BOOL CMainDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE))
    {
        wchar_t about[64] = {};
        if (LoadStringW(CWinApp::ResourceInstance(), IDS_ABOUTBOX, about, 64) > 0 && about[0])
        {
            AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

    layoutSuspended_ = false;
    const RECT status = statusLine_.GetWindowRect();
    statusLineHeight_ = status.bottom - status.top;

    // Applies the stored state: ToggleTopmost inverts the flag back, checks the menu item and
    // places the window at its first rectangle, which performs the first layout.
    topmost_ = !topmost_;
    ToggleTopmost();

    if (portNr_ > 0 && !OpenPort(portNr_))
        ReportPortFailure(portNr_);
    if (!serialPort_)
        SelectPort();
    SetTimer(TIMER_RECONNECT, RECONNECT_TICK_MS);
    SetTimer(TIMER_CHART_SAMPLE, CHART_SAMPLE_MS);
    OpenLogAtStart();

    for (CReadingPanel* panel : {&panel1_, &panel2_})
    {
        panel->ClearReading();
        panel->SetBlinking(true);
    }
    panel2_.ShowWindow(SW_HIDE);
    UpdateStatusLine();
    if (showAdv_)
        SetTimer(TIMER_ADVERT, ADVERT_DELAY_MS);
    return TRUE;
}

void CMainDlg::ReportPortFailure(int number) const
{
    AppMessageBox(texts::PORT_OPEN_FAILED + std::to_string(number));
}

bool CMainDlg::OpenPort(int number)
{
    // The old port is closed first; bytes already on their way from it are still handled.
    serialPort_.reset();
    auto port = std::make_unique<SerialPort>();
    const bool opened = port->Open(m_hWnd, number, METER_BAUD, METER_PARITY, METER_DATA_BITS,
                                   METER_STOP_BITS, EV_RXCHAR) &&
                        port->StartWorker();
    link_.PortOpened(opened, GetTickCount64());
    if (opened)
    {
        serialPort_ = std::move(port);
        keptPort_ = number;
    }
    return opened;
}

void CMainDlg::ClosePort()
{
    serialPort_.reset();
    keptPort_ = 0;
}

void CMainDlg::SelectPort()
{
    if (!IsWindowVisible())
    {
        SetTimer(TIMER_PORT_RETRY, PORT_RETRY_PERIOD_MS);
        return;
    }
    const int inUse = serialPort_ ? serialPort_->PortNumber() : 0;
    // Choosing the port in use opens it again: that is how a user revives a port by hand.
    ChoosePort(*this, inUse,
               [this](int chosen)
               {
                   const bool opened = OpenPort(chosen);
                   portNr_ = opened ? chosen : 0;
                   if (!opened)
                       keptPort_ = 0;
                   return opened;
               });
}

void CMainDlg::ToggleTopmost()
{
    const RECT& r = windowRect_;
    SetWindowPos(m_hWnd, topmost_ ? HWND_NOTOPMOST : HWND_TOPMOST, r.left, r.top, r.right - r.left,
                 r.bottom - r.top, 0);
    topmost_ = !topmost_;
    CheckMenuItem(GetMenu(m_hWnd), ID_VIEW_TOPMOST,
                  MF_BYCOMMAND | (topmost_ ? MF_CHECKED : MF_UNCHECKED));
}

void CMainDlg::UpdateStatusLine()
{
    StatusFacts facts;
    facts.reading = link_.Reading();
    facts.linkLost = link_.IsLost();
    facts.twoChannelMode = link_.TwoChannelMode();
    facts.reconnectingPort = link_.Reconnecting(GetTickCount64()) ? keptPort_ : 0;
    facts.recording = logTimerId_ != 0;
    facts.fileIntervalSeconds = recording_.fileInterval;
    facts.logBacklog = logBacklog_;
    facts.logDropped = logDropped_;
    // Every frame asks for the text; setting an edit's text costs about a millisecond under Wine
    // even when it does not change, so only a new text is set.
    std::string text = BuildStatusText(facts);
    if (text == shownStatus_ && statusLine_.m_hWnd)
        return;
    statusLine_.SetWindowText(text);
    shownStatus_ = std::move(text);
}

LRESULT CMainDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case SerialPort::WM_METER_BYTE:
        OnMeterByte(static_cast<unsigned char>(wParam));
        return 0;
    case WM_SIZE:
    {
        const LRESULT result = Default(msg, wParam, lParam);
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return result;
    }
    case WM_MOVE:
    {
        const LRESULT result = Default(msg, wParam, lParam);
        OnMove();
        return result;
    }
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        break; // every timer also gets the default processing
    case WM_PAINT:
        if (IsIconic(m_hWnd))
        {
            OnPaintMinimised();
            return 0;
        }
        break;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(icon_);
    case WM_HELP:
        OnHelp();
        return TRUE;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_ABOUTBOX)
        {
            ShowAbout(*this);
            return 0;
        }
        break;
    case WM_LOG_WRITER:
        OnLogWriter(static_cast<LogWriterEvent::Kind>(wParam), lParam);
        return 0;
    case SerialPort::WM_METER_PORT_DEAD:
        OnPortDead(static_cast<int>(wParam));
        return 0;
    case WM_DEVICECHANGE:
        OnDeviceChange(wParam, lParam);
        return TRUE;
    case WM_ENDSESSION:
        // Logging off or shutting down: the process ends once this returns, so the settings are
        // saved here, as at a normal exit, and the log is closed.
        if (wParam)
        {
            CRegistryStore store;
            SaveSettingsToRegistry(store, Settings());
            StopLogTimer();
            StopWriter();
        }
        return 0;
    default:
        break;
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}

BOOL CMainDlg::PreTranslateMessage(MSG* msg)
{
    // Enter and Esc would end the dialog or reach a control: swallow both.
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
    {
        ::SetFocus(m_hWnd);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

bool CMainDlg::OnCommand(UINT id, UINT code, HWND control)
{
    switch (id)
    {
    case ID_PORT_SELECT:
        SelectPort();
        return true;
    case ID_APP_EXIT:
        EndDialog(IDOK);
        return true;
    case ID_VIEW_UNITS:
        OnUnits();
        return true;
    case ID_VIEW_FONT:
        OnFont();
        return true;
    case ID_VIEW_BACKGROUND_COLOUR:
        OnColour(true);
        return true;
    case ID_VIEW_TEXT_COLOUR:
        OnColour(false);
        return true;
    case ID_VIEW_TOPMOST:
        ToggleTopmost();
        return true;
    case ID_VIEW_CHART:
        chartWnd_.Open(*this);
        return true;
    case ID_SETTINGS_RECORDING:
        EditRecording();
        return true;
    case ID_HELP_CONTENTS:
    case ID_HELP_FRAMEWORK:
        OnHelp();
        return true;
    case ID_SETTINGS_EXTRA:
        EditAdvertAtStart(*this, showAdv_);
        return true;
    case ID_HELP_QMX:
        ShowAdvert(*this);
        return true;
    case ID_HELP_ABOUT:
        ShowAbout(*this);
        return true;
    default:
        return CDialog::OnCommand(id, code, control);
    }
}

void CMainDlg::OnTimer(UINT_PTR id)
{
    switch (id)
    {
    case TIMER_WATCHDOG:
        OnWatchdog();
        break;
    case TIMER_LOG:
        WriteLogRecord();
        break;
    case TIMER_PORT_RETRY:
        // The port dialog waits while the advert window is open.
        if (!advertOpen_)
        {
            KillTimer(TIMER_PORT_RETRY);
            SelectPort();
        }
        break;
    case TIMER_ADVERT:
        KillTimer(TIMER_ADVERT);
        advertOpen_ = true;
        ShowAdvert(*this);
        advertOpen_ = false;
        break;
    case TIMER_RECONNECT:
        OnReconnectTick();
        break;
    case TIMER_CHART_SAMPLE:
        OnChartSample();
        break;
    default:
        break;
    }
}

void CMainDlg::OnSize(UINT type, int cx, int cy)
{
    if (type == SIZE_RESTORED)
        restoredSize_ = {cx, cy};
    else if (type == SIZE_MAXIMIZED)
        maximisedSize_ = {cx, cy};
    maximised_ = type == SIZE_MAXIMIZED;
    if (layoutSuspended_)
        return;

    windowRect_ = GetWindowRect();
    const bool twoPanels = link_.SecondPanelShown();
    const MainLayout layout =
        ComputeMainLayout(cx, cy, GetSystemMetrics(SM_CXDLGFRAME), statusLineHeight_, twoPanels);
    const auto move = [](const CWnd& wnd, const LayoutRect& r)
    { wnd.MoveWindow(r.x, r.y, r.width, r.height, TRUE); };
    move(statusLine_, layout.statusLine);
    move(panel1_, layout.panel1);
    panel1_.RedrawWindow();
    if (twoPanels)
    {
        move(panel2_, layout.panel2);
        panel2_.RedrawWindow();
    }
}

void CMainDlg::OnMove()
{
    if (!layoutSuspended_)
        windowRect_ = GetWindowRect();
}
