#include "ui/MainDlg.h"

#include "app/AboutDlg.h"
#include "app/AdvertDlg.h"
#include "app/ExtraSettingsDlg.h"
#include "meter/PortDlg.h"
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
}

CMainDlg::CMainDlg() : CDialog(IDD_QM7XX_DIALOG)
{
    icon_ = LoadIconW(CWinApp::ResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    for (COLORREF& colour : customColours_)
        colour = RGB(255, 255, 255);
}

CMainDlg::~CMainDlg() = default;

void CMainDlg::BindControls()
{
    statusLine.SubclassDlgItem(IDC_STATUS, *this);
    panel1.SubclassDlgItem(IDC_PANEL1, *this);
    panel2.SubclassDlgItem(IDC_PANEL2, *this);
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

    layoutSuspended = 0;
    const RECT status = statusLine.GetWindowRect();
    statusLineHeight = status.bottom - status.top;

    CreatePanelFonts();

    // Applies the stored state: ToggleTopmost inverts the flag back, checks the menu item and
    // places the window at its first rectangle, which performs the first layout.
    topmost = !topmost;
    ToggleTopmost();

    if (portNr > 0)
    {
        serialPort = OpenPort(portNr);
        if (!serialPort)
        {
            ReportPortFailure(portNr);
            SelectPort();
        }
    }
    else
    {
        SelectPort();
    }
    OpenLogAtStart();

    panel1.ClearReading();
    panel1.SetBlinking(true);
    panel2.ClearReading();
    panel2.SetBlinking(true);
    panel2.ShowWindow(SW_HIDE);
    UpdateStatusLine();
    if (showAdv)
        SetTimer(TIMER_ADVERT, ADVERT_DELAY_MS);
    return TRUE;
}

void CMainDlg::CreatePanelFonts()
{
    panel1.RecreateReadingFont();
    panel2.RecreateReadingFont();
}

void CMainDlg::ReportPortFailure(int number)
{
    AppMessageBox("Nie można otworzyć portu COM" + std::to_string(number));
}

std::unique_ptr<SerialPort> CMainDlg::OpenPort(int number)
{
    auto port = std::make_unique<SerialPort>();
    if (!port->Open(m_hWnd, number, METER_BAUD, METER_PARITY, METER_DATA_BITS, METER_STOP_BITS,
                    EV_RXCHAR))
        return nullptr;
    port->StartWorker();
    return port;
}

void CMainDlg::SelectPort()
{
    if (!IsWindowVisible())
    {
        SetTimer(TIMER_PORT_RETRY, PORT_RETRY_PERIOD_MS);
        return;
    }
    // A chosen port that fails to open brings the dialog back until one opens or the user cancels.
    for (;;)
    {
        CPortDlg dialog(this);
        dialog.portNumber = serialPort ? serialPort->PortNumber() : 0;
        if (dialog.DoModal() != IDOK)
            return;
        const int chosen = dialog.portNumber;
        const int current = serialPort ? serialPort->PortNumber() : 0;
        if (chosen == current || chosen <= 0)
            return;
        serialPort.reset(); // closes the old port; bytes already on their way are still handled
        serialPort = OpenPort(chosen);
        if (serialPort)
        {
            portNr = chosen;
            return;
        }
        portNr = 0;
        ReportPortFailure(chosen);
    }
}

void CMainDlg::ToggleTopmost()
{
    SetWindowPos(m_hWnd, topmost ? HWND_NOTOPMOST : HWND_TOPMOST, windowRect.left, windowRect.top,
                 windowRect.right - windowRect.left, windowRect.bottom - windowRect.top, 0);
    topmost = !topmost;
    CheckMenuItem(GetMenu(m_hWnd), ID_VIEW_TOPMOST,
                  MF_BYCOMMAND | (topmost ? MF_CHECKED : MF_UNCHECKED));
}

void CMainDlg::UpdateStatusLine()
{
    // Every frame asks for the text; setting an edit's text costs about a millisecond under Wine
    // even when it does not change, so only a new text is set.
    std::string text =
        BuildStatusText(decoder.reading, linkLost, twoChannelMode, logTimerId != 0, fileInterval);
    if (text == shownStatus_ && statusLine.m_hWnd)
        return;
    statusLine.SetWindowText(text);
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
            CAboutDlg(this).DoModal();
            return 0;
        }
        break;
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
        ChooseUnits(*this, decoder.reading, panel1, panel2);
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
    case ID_SETTINGS_RECORDING:
        OnRecordSettings();
        return true;
    case ID_HELP_CONTENTS:
    case ID_HELP_FRAMEWORK:
        OnHelp();
        return true;
    case ID_SETTINGS_EXTRA:
        EditAdvertAtStart(this, showAdv);
        return true;
    case ID_HELP_QMX:
        CAdvertDlg(this).DoModal();
        return true;
    case ID_HELP_ABOUT:
        CAboutDlg(this).DoModal();
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
        if (!advertOpen)
        {
            KillTimer(TIMER_PORT_RETRY);
            SelectPort();
        }
        break;
    case TIMER_ADVERT:
        KillTimer(TIMER_ADVERT);
        advertOpen = 1;
        CAdvertDlg(this).DoModal();
        advertOpen = 0;
        break;
    default:
        break;
    }
}

void CMainDlg::OnSize(UINT type, int cx, int cy)
{
    if (type == SIZE_RESTORED)
    {
        restoredSize = {cx, cy};
        maximisedFlag = 0;
    }
    else if (type == SIZE_MAXIMIZED)
    {
        maximisedFlag = 1;
        maximisedSize = {cx, cy};
    }
    else
    {
        maximisedFlag = 0;
    }
    if (layoutSuspended)
        return;

    windowRect = GetWindowRect();
    const bool twoPanels = twoChannelMode == 1 && decoder.reading.secondChannel != 0;
    const MainLayout layout =
        ComputeMainLayout(cx, cy, GetSystemMetrics(SM_CXDLGFRAME), statusLineHeight, twoPanels);
    const auto move = [](const CWnd& wnd, const LayoutRect& r)
    { wnd.MoveWindow(r.x, r.y, r.width, r.height, TRUE); };
    move(statusLine, layout.statusLine);
    move(panel1, layout.panel1);
    panel1.RedrawWindow();
    if (twoPanels)
    {
        move(panel2, layout.panel2);
        panel2.RedrawWindow();
    }
}

void CMainDlg::OnMove()
{
    if (!layoutSuspended)
        windowRect = GetWindowRect();
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
    if (panel1.ReadingFont())
        GetObjectW(panel1.ReadingFont(), sizeof(LOGFONTW), &panel1.logFont);
    LOGFONTW chosen = panel1.logFont;
    CHOOSEFONTW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = m_hWnd;
    choose.lpLogFont = &chosen;
    choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontW(&choose))
        return;
    for (CReadingPanel* panel : {&panel1, &panel2})
    {
        panel->logFont = chosen;
        panel->RecreateReadingFont();
        panel->SetFont(panel->ReadingFont(), TRUE);
        panel->RedrawWindow();
    }
}

void CMainDlg::OnColour(bool background)
{
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = m_hWnd;
    choose.rgbResult = background ? panel1.backgroundColour : panel1.textColour;
    choose.lpCustColors = customColours_;
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (ChooseColorW(&choose))
    {
        for (CReadingPanel* panel : {&panel1, &panel2})
            (background ? panel->backgroundColour : panel->textColour) = choose.rgbResult;
    }
    panel1.RedrawWindow();
    panel2.RedrawWindow();
}

void CMainDlg::OnHelp()
{
    // Whatever asked for help, the main window always opens the same topic.
    LaunchHelp(m_hWnd, HELP_CONTEXT, HELP_CONTEXT_MAIN);
}
