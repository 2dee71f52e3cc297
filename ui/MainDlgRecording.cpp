// Recording: the log file opened at start-up and after the recording settings, one record per
// tick of the log timer, and the recording settings command.

#include "recording/RecordSettingsDlg.h"
#include "toolkit/TextConv.h"
#include "toolkit/WinApp.h"
#include "ui/MainDlg.h"

namespace
{

constexpr char LOG_UNAVAILABLE[] = "Wybrany plik rejestracji wyników pomiaru jest niedostępny.";
constexpr char APPEND_OR_EMPTY[] =
    "Plik rejestracji pomiarów już istnieje.\r\nWybierz Tak aby dopisywać wyniki do "
    "poprzednich,\r\nwybierz Nie aby skasować poprzednią zawartość pliku.";

LocalTime LocalTimeNow()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

} // namespace

RecordingSettings CMainDlg::RecordingState() const
{
    return {fileName, fileLog, fileLogCanal1, fileLogCanal2, fileSepFormat, fileInterval};
}

void CMainDlg::SetRecordingState(const RecordingSettings& s)
{
    fileName = s.fileName;
    fileLog = s.fileLog;
    fileLogCanal1 = s.fileLogCanal1;
    fileLogCanal2 = s.fileLogCanal2;
    fileSepFormat = s.fileSepFormat;
    fileInterval = s.fileInterval;
}

void CMainDlg::StartLogTimer()
{
    StopLogTimer();
    logTimerId = SetTimer(TIMER_LOG, LogTimerPeriodMs(fileInterval));
}

void CMainDlg::StopLogTimer()
{
    if (logTimerId)
        KillTimer(logTimerId);
    logTimerId = 0;
}

void CMainDlg::OpenLogAtStart()
{
    if (fileName.empty() || fileLog != 1)
        return;
    auto file = std::make_unique<LogFile>();
    const LogFile::OpenResult opened = file->Open(fileName);
    if (opened == LogFile::OpenResult::Failed)
    {
        AppMessageBox(LOG_UNAVAILABLE);
        OnRecordSettings();
        return;
    }
    // Records are appended to an existing log without asking; the first one, a tick from now,
    // carries a header in any case, since no unit has been logged yet.
    if (opened == LogFile::OpenResult::Existing)
    {
        file->SeekToEnd();
        logRecorder.headerPending = 1;
    }
    logFile = std::move(file);
    StartLogTimer();
}

void CMainDlg::OnRecordSettings()
{
    // A file that cannot be opened brings the dialog back, with the values just entered, until
    // one opens, logging is switched off or the user cancels.
    for (;;)
    {
        const RecordingSettings before = RecordingState();
        CRecordSettingsDlg dialog(this);
        dialog.settings = before;
        if (dialog.DoModal() != IDOK)
        {
            if (!logFile)
            {
                fileLog = 0;
                StopLogTimer();
            }
            UpdateStatusLine();
            return;
        }
        SetRecordingState(dialog.settings);
        if (ApplyRecordSettings(before))
            return;
        AppMessageBox(LOG_UNAVAILABLE);
    }
}

bool CMainDlg::ApplyRecordSettings(const RecordingSettings& before)
{
    if (fileLog == 0)
    {
        StopLogTimer();
        logFile.reset();
        UpdateStatusLine();
        return true;
    }
    if (LogFileNeedsReopen(before, RecordingState(), logFile != nullptr))
    {
        logFile.reset();
        auto file = std::make_unique<LogFile>();
        const LogFile::OpenResult opened = file->Open(fileName);
        if (opened == LogFile::OpenResult::Failed)
            return false;
        if (opened == LogFile::OpenResult::Existing)
        {
            // The old file is closed already: ticks while the question is open write nothing.
            if (AppMessageBox(APPEND_OR_EMPTY, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES)
                file->SeekToEnd();
            else
                file->Empty();
        }
        logRecorder.headerPending = 1;
        logFile = std::move(file);
    }
    WriteLogRecord();
    StartLogTimer();
    UpdateStatusLine();
    return true;
}

void CMainDlg::WriteLogRecord()
{
    if (!logFile)
        return;
    const LogSource source{
        decoder.reading,      linkLost, twoChannelMode, reading1, reading2, panel1.units.unitCode,
        panel2.units.unitCode};
    const LogRecord record = logRecorder.NextRecord(
        source, {fileLogCanal1, fileLogCanal2, fileSepFormat}, LocalTimeNow());
    // An empty conversion means the record could not be converted: reported, never skipped.
    const std::string bytes = Utf8ToCp1250(record.Text());
    if (!bytes.empty() && logFile->Append(bytes))
        return;
    logRecorder.RecordLost(record);
    ReportLogWriteFailure();
}

void CMainDlg::ReportLogWriteFailure()
{
    // The log timer goes on while the report is open; one report at a time is enough.
    if (reportingLogFailure_)
        return;
    reportingLogFailure_ = true;
    AppMessageBox("Nie można zapisać wyniku pomiaru w pliku " + logFile->Path() + " (błąd " +
                      std::to_string(logFile->LastError()) + "). Ten wynik nie został zapisany.",
                  MB_OK | MB_ICONSTOP);
    reportingLogFailure_ = false;
}
