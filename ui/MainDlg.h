#pragma once

// The main window: a status line and one or two reading panels, the menu, and the objects of the
// run (serial port, frame decoder with the reading, recording state). Received bytes arrive as
// WM_METER_BYTE and are assembled into frames by the reception (MainDlgReception.cpp).

#include "meter/FrameAssembler.h"
#include "meter/FrameDecoder.h"
#include "meter/SerialPort.h"
#include "recording/LogFile.h"
#include "recording/LogRecorder.h"
#include "recording/RecordSettingsRules.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialog.h"
#include "ui/ReadingPanel.h"

#include <memory>
#include <string>

constexpr UINT_PTR TIMER_WATCHDOG = 1039;
constexpr UINT_PTR TIMER_LOG = 1040;
constexpr UINT_PTR TIMER_PORT_RETRY = 1069;
constexpr UINT_PTR TIMER_ADVERT = 1070;
constexpr UINT WATCHDOG_PERIOD_MS = 5000;
constexpr UINT PORT_RETRY_PERIOD_MS = 500;
constexpr UINT ADVERT_DELAY_MS = 100;
constexpr int HELP_CONTEXT_MAIN = 10;
constexpr int METER_BAUD = 300;
constexpr char METER_PARITY = 'N';
constexpr int METER_DATA_BITS = 7;
constexpr int METER_STOP_BITS = 1;

class CMainDlg : public CDialog
{
public:
    CMainDlg();
    ~CMainDlg() override;

    // Builds the text of the status line from the link state, the reading and the recording.
    void UpdateStatusLine();
    // Asks for a port and opens it; while the window is not yet visible only arms a retry timer.
    void SelectPort();
    void ToggleTopmost();
    // Recording (MainDlgRecording.cpp): one record now; the recording settings command.
    void WriteLogRecord();
    void OnRecordSettings();

    // Persistent settings (loaded before the window exists, saved after it has closed).
    int showAdv = 1;
    int topmost = 0;
    int portNr = 0;
    std::string fileName; // UTF-8
    int fileLog = 0;
    int fileLogCanal1 = 1;
    int fileLogCanal2 = 1;
    int fileSepFormat = 1;
    int fileInterval = 1;

    // The run's objects.
    std::unique_ptr<SerialPort> serialPort;
    FrameAssembler assembler;
    FrameDecoder decoder;
    CReadingPanel panel1;
    CReadingPanel panel2;
    CEdit statusLine;

    // Link and reception state.
    int linkLost = 1;
    int twoChannelMode = 0;
    double reading1 = 0.0;
    double reading2 = 0.0;
    UINT_PTR watchdogTimerId = 0;
    UINT_PTR logTimerId = 0;

    // Recording state besides the persistent settings: the open log file (none while closed) and
    // the header and unit bookkeeping of its records.
    std::unique_ptr<LogFile> logFile;
    LogRecorder logRecorder;

    // Geometry as recorded by WM_SIZE and WM_MOVE.
    int maximisedFlag = 0;
    SIZE maximisedSize{};
    SIZE restoredSize{};
    RECT windowRect{50, 50, 600, 450};
    int statusLineHeight = 20;
    int layoutSuspended = 1;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void BindControls() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    BOOL PreTranslateMessage(MSG* msg) override;

private:
    // Reception (MainDlgReception.cpp).
    void OnMeterByte(unsigned char byte);
    void OnGoodFrame(int length);
    void OnBadFrame();
    void CheckLayout();
    void OnWatchdog();

    // Recording (MainDlgRecording.cpp).
    void OpenLogAtStart();
    bool ApplyRecordSettings(const RecordingSettings& before);
    void StartLogTimer();
    void StopLogTimer();
    RecordingSettings RecordingState() const;
    void SetRecordingState(const RecordingSettings& settings);
    void ReportLogWriteFailure();
    bool reportingLogFailure_ = false;

    void OnSize(UINT type, int cx, int cy);
    void OnMove();
    void OnTimer(UINT_PTR id);
    void OnPaintMinimised();
    void OnSysCommand(UINT command);
    void OnFont();
    void OnColour(bool background);
    void OnHelp();
    void CreatePanelFonts();
    std::unique_ptr<SerialPort> OpenPort(int number);
    void ReportPortFailure(int number);

    int previousSecondChannel = 0;
    int previousChannelMode = 0;
    int advertOpen = 0;
    HICON icon_ = nullptr;
    COLORREF customColours_[16];
    std::string shownStatus_;
};
