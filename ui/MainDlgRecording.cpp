// Recording: the log writer started at start-up and after the recording settings, one record per
// tick of the log timer handed to it, the writer's news shown, and the recording settings command.

#include "recording/Cp1250.h"
#include "recording/RecordSettingsDlg.h"
#include "res/Texts.h"
#include "toolkit/WinApp.h"
#include "ui/MainDlg.h"

#include <cstdio>

namespace
{

LocalTime LocalTimeNow()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::string ErrorPart(unsigned long error)
{
    return texts::LOG_WRITE_FAILED_CODE + std::to_string(error);
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

void CMainDlg::StartWriter(std::unique_ptr<LogFile> file, LogStart start)
{
    const HWND window = m_hWnd;
    logWriter_ = std::make_unique<LogWriter>(
        std::move(file), start, recording_.fileInterval,
        [window](const LogWriterEvent& e)
        {
            const bool failure = e.kind == LogWriterEvent::Kind::WriteFailed ||
                                 e.kind == LogWriterEvent::Kind::EmptyFailed;
            ::PostMessageW(window, WM_LOG_WRITER, static_cast<WPARAM>(e.kind),
                           static_cast<LPARAM>(failure ? e.error : e.count));
        });
}

void CMainDlg::StopWriter()
{
    if (!logWriter_)
        return;
    // The writer has its bound to write what waits; what it could not write is told.
    const std::size_t unwritten = logWriter_->Stop();
    logWriter_.reset();
    logBacklog_ = logDropped_ = 0;
    if (unwritten == 0 || !m_hWnd)
        return;
    char count[64];
    std::snprintf(count, sizeof count, texts::LOG_UNWRITTEN, static_cast<int>(unwritten));
    AppMessageBox(count + recording_.fileName, MB_OK | MB_ICONSTOP);
}

void CMainDlg::OpenLogAtStart()
{
    if (recording_.fileName.empty() || !recording_.fileLog)
        return;
    auto file = std::make_unique<LogFile>();
    if (file->Open(recording_.fileName) == LogSink::OpenResult::Failed)
    {
        AppMessageBox(texts::LOG_UNAVAILABLE);
        EditRecording();
        return;
    }
    // Records are appended without asking; the first one, a tick from now, carries a header in
    // any case, since no unit has been logged yet.
    logRecorder_.headerPending = true;
    StartWriter(std::move(file), LogStart::Append);
    StartLogTimer();
}

void CMainDlg::EditRecording()
{
    if (!EditRecordingSettings(*this, recording_,
                               [this](const RecordingSettings& chosen)
                               { return ApplyRecording(chosen); }))
    {
        // Cancelled: logging that could not start stays off.
        if (!logWriter_)
        {
            recording_.fileLog = false;
            StopLogTimer();
        }
    }
    UpdateStatusLine();
}

LogStart CMainDlg::AskAppendOrEmpty()
{
    // The ticks meanwhile make records for the new file; they wait for the answer.
    holdingRecords_ = true;
    const int answer =
        AppMessageBox(texts::LOG_APPEND_OR_EMPTY, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1);
    holdingRecords_ = false;
    return answer == IDYES ? LogStart::Append : LogStart::Empty;
}

bool CMainDlg::ApplyRecording(const RecordingSettings& chosen)
{
    const RecordingSettings before = recording_;
    if (!chosen.fileLog)
    {
        recording_ = chosen;
        StopLogTimer();
        StopWriter();
        return true;
    }
    if (LogFileNeedsReopen(before, chosen, logWriter_ != nullptr))
    {
        // The new file is opened while the old one still takes records: a file that cannot be
        // opened leaves logging as it was.
        const bool sameFile = logWriter_ && before.fileName == chosen.fileName;
        std::unique_ptr<LogFile> file;
        bool existing = sameFile;
        if (!sameFile)
        {
            file = std::make_unique<LogFile>();
            const LogSink::OpenResult opened = file->Open(chosen.fileName);
            if (opened == LogSink::OpenResult::Failed)
                return false;
            existing = opened == LogSink::OpenResult::Existing;
        }
        recording_ = chosen;
        logRecorder_.headerPending = true;
        const LogStart start = existing ? AskAppendOrEmpty() : LogStart::Append;
        if (logWriter_)
            logWriter_->Switch(std::move(file), start); // none: the same file
        else
            StartWriter(std::move(file), start);
        for (const LogRecord& held : heldRecords_)
            logWriter_->Push(held);
        heldRecords_.clear();
    }
    recording_ = chosen;
    logWriter_->SetInterval(recording_.fileInterval);
    WriteLogRecord();
    StartLogTimer();
    return true;
}

void CMainDlg::WriteLogRecord()
{
    if (!logWriter_ && !holdingRecords_)
        return;
    const LogLayout layout{recording_.fileLogCanal1, recording_.fileLogCanal2,
                           recording_.fileSepFormat};
    const LogRecord text = logRecorder_.NextRecord(link_.RecordSource(), layout, LocalTimeNow());
    LogRecord bytes{Utf8ToCp1250(text.header), Utf8ToCp1250(text.line)};
    // An empty conversion means the record could not be converted: reported, never skipped.
    if (bytes.line.empty() || bytes.header.empty() != text.header.empty())
    {
        ReportLogWriteFailure(ERROR_NO_UNICODE_TRANSLATION);
        return;
    }
    if (holdingRecords_)
        heldRecords_.push_back(std::move(bytes));
    else
        logWriter_->Push(bytes);
}

void CMainDlg::OnLogWriter(LogWriterEvent::Kind kind, LPARAM value)
{
    if (!logWriter_)
        return; // news of a writer that has been stopped
    const unsigned long error = static_cast<unsigned long>(value);
    switch (kind)
    {
    case LogWriterEvent::Kind::WriteFailed:
        ReportLogWriteFailure(error);
        break;
    case LogWriterEvent::Kind::EmptyFailed:
        AppMessageBox(texts::LOG_EMPTY_FAILED_PATH + recording_.fileName + ErrorPart(error) +
                          texts::LOG_EMPTY_FAILED_END,
                      MB_OK | MB_ICONSTOP);
        break;
    case LogWriterEvent::Kind::Backlog:
        logBacklog_ = static_cast<int>(value);
        break;
    case LogWriterEvent::Kind::BacklogWritten:
        logBacklog_ = logDropped_ = 0;
        break;
    case LogWriterEvent::Kind::Dropped:
        logDropped_ = static_cast<int>(value);
        break;
    }
    UpdateStatusLine();
}

void CMainDlg::ReportLogWriteFailure(unsigned long error)
{
    // Once per spell; the log timer and the writer go on while the report is open.
    if (reportingLogFailure_)
        return;
    reportingLogFailure_ = true;
    AppMessageBox(texts::LOG_WRITE_FAILED_PATH + recording_.fileName + ErrorPart(error) +
                      texts::LOG_WRITE_FAILED_END + texts::LOG_WRITE_WILL_RETRY,
                  MB_OK | MB_ICONSTOP);
    reportingLogFailure_ = false;
}
