// The log file as the main window keeps it, and the recording settings dialog, driven as a user
// would: files on disk, the dialog's controls, the question and the messages.

#include "tools/qm7xx-sim/FrameEncoder.h"
#include "res/resource.h"
#include "tests/win/support/DialogDriver.h"
#include "tests/win/support/MessagePump.h"
#include "toolkit/TextConv.h"
#include "ui/MainDlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

// Octal escapes: the header's Polish letters in code page 1250.
static const std::string HEADER_CP1250 =
    "Data i Godzina;Nat\352\277enie \234wiat\263a1[kLx];Nat\352\277enie \234wiat\263a2[kLx]\r\n";

// The file's bytes with every timestamp as "T".
static std::string Contents(const std::string& path)
{
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    static const std::regex timestamp(R"(\d{4}\.\d\d\.\d\d \d\d:\d\d:\d\d)");
    return std::regex_replace(bytes.str(), timestamp, "T");
}

// The writer thread has put exactly these bytes in the file (timestamps as "T"), within 3 s.
static ::testing::AssertionResult Holds(const std::string& path, const std::string& expected)
{
    if (PumpUntil([&] { return Contents(path) == expected; }, 3000))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the file holds " << Contents(path);
}

using Action = std::function<void(HWND)>;

// Answers each new dialog or message box with the next list of actions, and notes its message. The
// main window and a dialog still closing are skipped.
static DialogDriver Answer(std::vector<std::vector<Action>> steps, std::vector<std::wstring>& seen)
{
    return DialogDriver(
        [steps, &seen, last = HWND{}](HWND dialog, const std::wstring& caption) mutable
        {
            if (caption == L"QM7xx" || dialog == last)
                return;
            last = dialog;
            seen.push_back(DialogDriver::MessageOf(dialog));
            for (const Action& action :
                 seen.size() <= steps.size() ? steps[seen.size() - 1] : std::vector<Action>{})
                action(dialog);
        });
}

// A click on a button, posted so that what it opens runs in the dialog's own loop.
static Action Click(int id)
{
    return [id](HWND dialog) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); };
}
// Sets the interval (into the picker and out again, as the user's focus goes), then types the path
// and presses Enter in it.
static Action Fill(WORD minutes, WORD seconds, const std::string& path)
{
    return [=](HWND dialog)
    {
        HWND picker = GetDlgItem(dialog, IDC_RECORD_INTERVAL);
        SetFocus(picker);
        SYSTEMTIME t{2000, 1, 6, 1, 0, minutes, seconds, 0};
        DateTime_SetSystemtime(picker, GDT_VALID, &t);
        SetDlgItemTextW(dialog, IDC_RECORD_PATH, Utf8ToWide(path).c_str());
        SetFocus(GetDlgItem(dialog, IDC_RECORD_PATH));
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
    };
}

// A QM-701 frame: channel 1 at raw / 10 kLx, channel 2 at 11.8 kLx or reporting an error.
static void Receive(CMainDlg& window, int raw1, bool error2)
{
    Frame24Spec frame;
    frame.channel1 = {1, false, raw1};
    frame.channel2 = {1, false, 118};
    frame.measurementError2 = error2;
    for (std::uint8_t b : EncodeFrame(frame))
        window.SendMessage(SerialPort::WM_METER_BYTE, b, 0);
}

static std::unique_ptr<CMainDlg> LoggingWindow(const std::string& path, int fileInterval = 1)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES}; // as the program does
    InitCommonControlsEx(&controls);
    AppSettings settings;
    settings.showAdv = false;
    settings.recording.fileName = path;
    settings.recording.fileLog = true;
    settings.recording.fileInterval = fileInterval;
    settings.recording.fileSepFormat = SEP_SEMICOLON;
    auto window = std::make_unique<CMainDlg>(settings);
    EXPECT_TRUE(window->Create());
    window->KillTimer(TIMER_PORT_RETRY);
    return window;
}

TEST(Recording, StartUpAppendsAndConfirmingKeepsTheFileOrAsksBeforeEmptyingIt)
{
    const std::string path = std::string(std::getenv("TEMP")) + "\\recording.csv";
    std::ofstream(path, std::ios::binary) << "old\r\n";
    std::ofstream(path + "2", std::ios::binary) << "other\r\n";
    LONG yesStyle = 0;
    std::vector<std::wstring> seen;
    const DialogDriver driver =
        Answer({{Fill(1, 30, path)},
                {Click(IDC_RECORD_SEP_COMMA), Fill(1, 30, path + "2")},
                {[&](HWND box) { yesStyle = GetWindowLongW(GetDlgItem(box, IDYES), GWL_STYLE); },
                 Click(IDNO)}},
               seen);
    auto window = LoggingWindow(path);
    EXPECT_EQ(Contents(path), "old\r\n") << "nothing before the first tick";
    EXPECT_TRUE(PumpUntil([&] { return Contents(path).size() > 5; }, 3000));
    window->KillTimer(TIMER_LOG);
    EXPECT_EQ(Contents(path), "old\r\n" + HEADER_CP1250 + "T;???;???\r\n");

    // The same file with a new interval: recorded at once, no new header.
    Receive(*window, 123, false);
    window->SendMessage(WM_COMMAND, ID_SETTINGS_RECORDING);
    Receive(*window, 124, true);
    window->WriteLogRecord();
    EXPECT_TRUE(
        Holds(path, "old\r\n" + HEADER_CP1250 + "T;???;???\r\nT;12.3;11.8\r\nT;12.4;???\r\n"));
    EXPECT_EQ(window->Settings().recording.fileInterval, 90);

    // A new separator and another existing file: the question (Yes by default), and No empties it.
    window->SendMessage(WM_COMMAND, ID_SETTINGS_RECORDING);
    std::string commaHeader = HEADER_CP1250;
    commaHeader[14] = commaHeader[38] = ',';
    EXPECT_TRUE(Holds(path + "2", commaHeader + "T,12.4,???\r\n"));
    EXPECT_EQ(yesStyle & 0xF, BS_DEFPUSHBUTTON);
    EXPECT_EQ(seen.size(), 3u) << "the settings twice and the question";
}

TEST(Recording, AnUnopenableFileIsReportedAndTheDialogComesBackRefusingOkWithoutAChannel)
{
    const std::string bad = "C:\\no such folder\\log.csv";
    std::wstring shownPath;
    SYSTEMTIME shown{};
    std::vector<std::wstring> seen;
    const DialogDriver driver = Answer(
        {{Click(IDOK)},
         {[&](HWND d) { shownPath = DialogDriver::TextOf(GetDlgItem(d, IDC_RECORD_PATH)); },
          Click(IDC_RECORD_CHANNEL1), Click(IDC_RECORD_CHANNEL2), Fill(0, 0, bad)},
         {Click(IDOK)},
         {[&](HWND d) { DateTime_GetSystemtime(GetDlgItem(d, IDC_RECORD_INTERVAL), &shown); },
          Click(IDCANCEL)}},
        seen);
    auto window = LoggingWindow(bad, 90);
    ASSERT_EQ(seen.size(), 4u) << "the settings, refusing OK, and again";
    EXPECT_EQ(seen[0], L"Wybrany plik rejestracji wynik\x00f3w pomiaru jest niedost\x0119pny.");
    EXPECT_EQ(seen[2], L"Wybierz przynajmniej jedn\x0105 wielko\x015B\x0107 do zapisu");
    EXPECT_EQ(WideToUtf8(shownPath), bad);
    EXPECT_EQ(shown.wHour * 3600 + shown.wMinute * 60 + shown.wSecond, 1) << "00:00:00 corrected";
    EXPECT_EQ(window->Settings().recording.fileInterval, 90) << "Cancel changes nothing";
    EXPECT_FALSE(window->Settings().recording.fileLog) << "cancelled with no file open";
    EXPECT_FALSE(window->KillTimer(TIMER_LOG)) << "no log timer";
}
