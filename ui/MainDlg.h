#pragma once

// The main window: a status line and one or two reading panels, and the menu. It forwards each
// received byte (WM_METER_BYTE) and each tick of its timers to the meter link and shows what the
// link says (MainDlgReception.cpp); the log timer hands records to the log (MainDlgRecording.cpp).
// It is given the settings record at construction and gives it back through Settings().

#include "app/AppSettings.h"
#include "ui/chart/ChartHistory.h"
#include "ui/chart/ChartWnd.h"
#include "meter/MeterLink.h"
#include "meter/SerialPort.h"
#include "recording/LogFile.h"
#include "recording/LogRecorder.h"
#include "recording/LogWriter.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"
#include "ui/ReadingPanel.h"

#include <memory>
#include <string>
#include <vector>

constexpr UINT_PTR TIMER_WATCHDOG = 1039;
constexpr UINT_PTR TIMER_LOG = 1040;
constexpr UINT_PTR TIMER_PORT_RETRY = 1069;
constexpr UINT_PTR TIMER_ADVERT = 1070;
constexpr UINT_PTR TIMER_RECONNECT = 1071;
// Twice a second, so that no second of the chart's history is missed.
constexpr UINT_PTR TIMER_CHART_SAMPLE = 1072;
// The log writer's news, posted from its thread: wParam = LogWriterEvent::Kind, lParam = its
// count or error.
constexpr UINT WM_LOG_WRITER = WM_APP + 1;

class CMainDlg : public CDialog
{
public:
    explicit CMainDlg(const AppSettings& settings = AppSettings{});
    ~CMainDlg() override;

    // The settings as they stand now: what the program saves at exit.
    AppSettings Settings() const;
    // Closes the port and ends its worker (at exit, while the window's messages still flow).
    void ClosePort();

    // Builds the text of the status line from the link, the port and the recording.
    void UpdateStatusLine();
    // Asks for a port and opens it; while the window is not yet visible only arms a retry timer.
    void SelectPort();
    void ToggleTopmost();
    // Recording (MainDlgRecording.cpp): one record now; the recording settings command.
    void WriteLogRecord();
    void EditRecording();

    // What the window shows, for tests and benchmarks.
    const CReadingPanel& Panel(int index) const { return index == 0 ? panel1_ : panel2_; }
    const CEdit& StatusLine() const { return statusLine_; }
    const MeterLink& Link() const { return link_; }
    int StatusLineHeight() const { return statusLineHeight_; }
    bool IsLogOpen() const { return logWriter_ != nullptr; }
    bool IsPortOpen() const { return serialPort_ != nullptr; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void BindControls() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    // Reception (MainDlgReception.cpp).
    void OnMeterByte(unsigned char byte);
    void OnWatchdog();
    void Show(const LinkUpdate& update);
    void LayOut();
    void OnReconnectTick();
    void OnPortDead(int port);
    void OnDeviceChange(WPARAM event, LPARAM data);
    void ReopenPort();

    // The port.
    bool OpenPort(int number);
    void ReportPortFailure(int number) const;

    // Recording (MainDlgRecording.cpp).
    void OpenLogAtStart();
    bool ApplyRecording(const RecordingSettings& chosen);
    LogStart AskAppendOrEmpty();
    void StartWriter(std::unique_ptr<LogFile> file, LogStart start);
    void StopWriter();
    void StartLogTimer();
    void StopLogTimer();
    void OnLogWriter(LogWriterEvent::Kind kind, LPARAM value);
    void ReportLogWriteFailure(unsigned long error);

    void OnSize(UINT type, int cx, int cy);
    void OnMove();
    void OnTimer(UINT_PTR id);
    void OnPaintMinimised();
    void OnSysCommand(UINT command);
    void OnFont();
    void OnColour(bool background);
    void OnUnits();
    void OnChartSample();
    void OnHelp();

    // Settings that live in the window; the panels and the link hold the rest.
    int portNr_;
    RecordingSettings recording_;
    bool topmost_;
    bool showAdv_;

    std::unique_ptr<SerialPort> serialPort_;
    MeterLink link_;
    CReadingPanel panel1_;
    CReadingPanel panel2_;
    CEdit statusLine_;
    UINT_PTR watchdogTimerId_ = 0;
    UINT_PTR logTimerId_ = 0;
    // The port kept open for the meter: reopened while its handle is dead or the meter is silent.
    int keptPort_ = 0;

    // The writer of the open log file (none while closed), and the header and unit bookkeeping of
    // its records. While the append-or-empty question is open, records wait here for the new file.
    std::unique_ptr<LogWriter> logWriter_;
    LogRecorder logRecorder_;
    bool holdingRecords_ = false;
    std::vector<LogRecord> heldRecords_;
    bool reportingLogFailure_ = false;
    int logBacklog_ = 0;
    int logDropped_ = 0;

    // One value a second of each shown panel, and the window that charts them (its settings held
    // by it while the program runs).
    ChartHistory chartHistory_;
    CChartWnd chartWnd_;
    bool chartReopened_ = false;

    // Geometry as recorded by WM_SIZE and WM_MOVE.
    bool maximised_ = false;
    SIZE maximisedSize_{};
    SIZE restoredSize_{};
    RECT windowRect_{50, 50, 600, 450};
    int statusLineHeight_ = 20;
    bool layoutSuspended_ = true;

    bool advertOpen_ = false;
    HICON icon_ = nullptr;
    COLORREF customColours_[16];
    std::string shownStatus_;
};
