// Recording: the log file opened at start-up and after the recording settings, one record per
// tick of the log timer, and the recording settings command.

#include "recording/RecordSettingsDlg.h"
#include "res/Texts.h"
#include "toolkit/TextConv.h"
#include "toolkit/WinApp.h"
#include "ui/MainDlg.h"

namespace
{

LocalTime LocalTimeNow()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

} // namespace

void CMainDlg::StartLogTimer()
{
    StopLogTimer();
    logTimerId_ = SetTimer(TIMER_LOG, LogTimerPeriodMs(recording_.fileInterval));
}

void CMainDlg::StopLogTimer()
{
    if (logTimerId_)
        KillTimer(logTimerId_);
    logTimerId_ = 0;
}

void CMainDlg::OpenLogAtStart()
{
    if (recording_.fileName.empty() || !recording_.fileLog)
        return;
    auto file = std::make_unique<LogFile>();
    const LogFile::OpenResult opened = file->Open(recording_.fileName);
    if (opened == LogFile::OpenResult::Failed)
    {
        AppMessageBox(texts::LOG_UNAVAILABLE);
        EditRecording();
        return;
    }
    // Records are appended to an existing log without asking; the first one, a tick from now,
    // carries a header in any case, since no unit has been logged yet.
    if (opened == LogFile::OpenResult::Existing)
    {
        file->SeekToEnd();
        logRecorder_.headerPending = true;
    }
    logFile_ = std::move(file);
    StartLogTimer();
}

void CMainDlg::EditRecording()
{
    if (!EditRecordingSettings(*this, recording_,
                               [this](const RecordingSettings& chosen)
                               { return ApplyRecording(chosen); }))
    {
        // Cancelled: logging that could not start stays off.
        if (!logFile_)
        {
            recording_.fileLog = false;
            StopLogTimer();
        }
    }
    UpdateStatusLine();
}

bool CMainDlg::ApplyRecording(const RecordingSettings& chosen)
{
    const RecordingSettings before = recording_;
    recording_ = chosen;
    if (!recording_.fileLog)
    {
        StopLogTimer();
        logFile_.reset();
        return true;
    }
    if (LogFileNeedsReopen(before, recording_, logFile_ != nullptr))
    {
        logFile_.reset();
        auto file = std::make_unique<LogFile>();
        const LogFile::OpenResult opened = file->Open(recording_.fileName);
        if (opened == LogFile::OpenResult::Failed)
            return false;
        if (opened == LogFile::OpenResult::Existing)
        {
            // The old file is closed already: ticks while the question is open write nothing.
            if (AppMessageBox(texts::LOG_APPEND_OR_EMPTY,
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES)
                file->SeekToEnd();
            else
                file->Empty();
        }
        logRecorder_.headerPending = true;
        logFile_ = std::move(file);
    }
    WriteLogRecord();
    StartLogTimer();
    return true;
}

void CMainDlg::WriteLogRecord()
{
    if (!logFile_)
        return;
    const LogLayout layout{recording_.fileLogCanal1, recording_.fileLogCanal2,
                           recording_.fileSepFormat};
    const LogRecord record = logRecorder_.NextRecord(link_.RecordSource(), layout, LocalTimeNow());
    // An empty conversion means the record could not be converted: reported, never skipped.
    const std::string bytes = Utf8ToCp1250(record.Text());
    if (!bytes.empty() && logFile_->Append(bytes))
        return;
    logRecorder_.RecordLost(record);
    ReportLogWriteFailure();
}

void CMainDlg::ReportLogWriteFailure()
{
    // The log timer goes on while the report is open; one report at a time is enough.
    if (reportingLogFailure_)
        return;
    reportingLogFailure_ = true;
    AppMessageBox(texts::LOG_WRITE_FAILED_PATH + logFile_->Path() + texts::LOG_WRITE_FAILED_CODE +
                      std::to_string(logFile_->LastError()) + texts::LOG_WRITE_FAILED_END,
                  MB_OK | MB_ICONSTOP);
    reportingLogFailure_ = false;
}
