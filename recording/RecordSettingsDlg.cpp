#include "recording/RecordSettingsDlg.h"

#include "recording/LogFormat.h"
#include "res/Texts.h"
#include "res/resource.h"
#include "toolkit/TextConv.h"
#include "toolkit/WinApp.h"

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

namespace
{

// Enabled only while logging is on.
constexpr int LOGGING_FIELDS[] = {
    IDC_RECORD_BROWSE,   IDC_RECORD_SEP_TAB,    IDC_RECORD_SEP_COMMA, IDC_RECORD_SEP_SEMICOLON,
    IDC_RECORD_PATH,     IDC_RECORD_PATH_LABEL, IDC_RECORD_SEP_LABEL, IDC_RECORD_INTERVAL_LABEL,
    IDC_RECORD_INTERVAL, IDC_RECORD_CHANNEL1,   IDC_RECORD_CHANNEL2};

constexpr int SEPARATOR_RADIOS[][2] = {{SEP_TAB, IDC_RECORD_SEP_TAB},
                                       {SEP_COMMA, IDC_RECORD_SEP_COMMA},
                                       {SEP_SEMICOLON, IDC_RECORD_SEP_SEMICOLON}};

constexpr wchar_t FILE_FILTER[] = L"Plik tekstowy (*.txt)\0*.txt\0Lista CSV (*.csv)\0*.csv\0";
constexpr wchar_t FILE_TITLE[] = L"Wybierz plik raportu";
constexpr wchar_t FILE_DEFAULT_EXTENSION[] = L"csv";
constexpr DWORD CHOSEN_PATH_CHARS = 4096;

// The picker shows the interval as a time of 1 January 2000.
SYSTEMTIME PickerTime(const IntervalTime& t)
{
    SYSTEMTIME time{};
    time.wYear = 2000;
    time.wMonth = 1;
    time.wDay = 1;
    time.wDayOfWeek = 6; // a Saturday
    time.wHour = static_cast<WORD>(t.hours);
    time.wMinute = static_cast<WORD>(t.minutes);
    time.wSecond = static_cast<WORD>(t.seconds);
    return time;
}

} // namespace

CRecordSettingsDlg::CRecordSettingsDlg(CWnd* parent) : CDialog(IDD_RECORD_SETTINGS, parent)
{
    settings.fileLogCanal1 = false;
    settings.fileLogCanal2 = false;
    settings.fileSepFormat = SEP_TAB;
    settings.fileInterval = 1;
}

BOOL CRecordSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (settings.fileLog)
        CheckDlgButton(m_hWnd, IDC_RECORD_ON, BST_CHECKED);
    else
        EnableFields(false);

    SYSTEMTIME time = PickerTime(IntervalToTime(settings.fileInterval));
    ::SendMessageW(GetDlgItem(IDC_RECORD_INTERVAL), DTM_SETSYSTEMTIME, GDT_VALID,
                   reinterpret_cast<LPARAM>(&time));
    for (const auto& [code, radio] : SEPARATOR_RADIOS)
    {
        if (code == settings.fileSepFormat)
            CheckDlgButton(m_hWnd, radio, BST_CHECKED);
    }
    SetDlgItemText(IDC_RECORD_PATH, settings.fileName);
    CheckDlgButton(m_hWnd, IDC_RECORD_CHANNEL1, settings.fileLogCanal1 ? BST_CHECKED : 0);
    CheckDlgButton(m_hWnd, IDC_RECORD_CHANNEL2, settings.fileLogCanal2 ? BST_CHECKED : 0);
    return TRUE;
}

bool CRecordSettingsDlg::Checked(int id) const
{
    return IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
}

void CRecordSettingsDlg::EnableFields(bool enable) const
{
    for (int id : LOGGING_FIELDS)
        EnableWindow(GetDlgItem(id), enable ? TRUE : FALSE);
}

bool CRecordSettingsDlg::OnCommand(UINT id, UINT code, HWND control)
{
    switch (id)
    {
    case IDC_RECORD_ON:
        settings.fileLog = Checked(IDC_RECORD_ON);
        EnableFields(settings.fileLog);
        return true;
    case IDC_RECORD_PATH:
        if (code == EN_KILLFOCUS)
            TakePath();
        return true;
    case IDC_RECORD_CHANNEL1:
        settings.fileLogCanal1 = Checked(IDC_RECORD_CHANNEL1);
        return true;
    case IDC_RECORD_CHANNEL2:
        settings.fileLogCanal2 = Checked(IDC_RECORD_CHANNEL2);
        return true;
    case IDC_RECORD_SEP_TAB:
    case IDC_RECORD_SEP_COMMA:
    case IDC_RECORD_SEP_SEMICOLON:
        for (const auto& [sepCode, radio] : SEPARATOR_RADIOS)
        {
            if (static_cast<UINT>(radio) == id)
                settings.fileSepFormat = sepCode;
        }
        return true;
    case IDC_RECORD_BROWSE:
        ChooseFile();
        return true;
    default:
        return CDialog::OnCommand(id, code, control);
    }
}

LRESULT CRecordSettingsDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NOTIFY)
    {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_RECORD_INTERVAL && header->code == NM_KILLFOCUS)
        {
            TakeInterval();
            return 0;
        }
    }
    return CDialog::WindowProc(msg, wParam, lParam);
}

void CRecordSettingsDlg::TakePath()
{
    settings.fileName = GetDlgItemText(IDC_RECORD_PATH);
}

void CRecordSettingsDlg::TakeInterval()
{
    HWND picker = GetDlgItem(IDC_RECORD_INTERVAL);
    SYSTEMTIME time{};
    const bool valid =
        ::SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) == GDT_VALID;
    const IntervalTime shown{time.wHour, time.wMinute, time.wSecond};
    settings.fileInterval = IntervalFromTime(shown, valid);
    if (!valid || (shown.hours == 0 && shown.minutes == 0 && shown.seconds == 0))
    {
        SYSTEMTIME corrected = PickerTime(IntervalToTime(settings.fileInterval));
        ::SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&corrected));
    }
}

void CRecordSettingsDlg::ChooseFile()
{
    std::vector<wchar_t> path(CHOSEN_PATH_CHARS, L'\0');
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = m_hWnd;
    open.lpstrFilter = FILE_FILTER;
    open.nFilterIndex = FILTER_TEXT;
    open.lpstrFile = path.data();
    open.nMaxFile = CHOSEN_PATH_CHARS;
    open.lpstrTitle = FILE_TITLE;
    open.lpstrDefExt = FILE_DEFAULT_EXTENSION;
    open.Flags = OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    if (!GetOpenFileNameW(&open))
        return;
    settings.fileName =
        WithChosenExtension(WideToUtf8(path.data()), static_cast<int>(open.nFilterIndex));
    SetDlgItemText(IDC_RECORD_PATH, settings.fileName);
}

void CRecordSettingsDlg::OnOK()
{
    // Closing moves the focus away from a field being edited, which takes its value.
    HWND focus = ::GetFocus();
    HWND picker = GetDlgItem(IDC_RECORD_INTERVAL);
    if (focus == GetDlgItem(IDC_RECORD_PATH))
        TakePath();
    else if (focus && (focus == picker || IsChild(picker, focus)))
        TakeInterval();

    if (!settings.fileLogCanal1 && !settings.fileLogCanal2)
    {
        AppMessageBox(texts::NO_CHANNEL_TO_LOG);
        return;
    }
    CDialog::OnOK();
}

bool EditRecordingSettings(CWnd& owner, const RecordingSettings& settings,
                           const std::function<bool(const RecordingSettings&)>& apply)
{
    // The settings are read anew at every round: after a failure they hold what was entered.
    for (;;)
    {
        CRecordSettingsDlg dialog(&owner);
        dialog.settings = settings;
        if (dialog.DoModal() != IDOK)
            return false;
        if (apply(dialog.settings))
            return true;
        AppMessageBox(texts::LOG_UNAVAILABLE);
    }
}
