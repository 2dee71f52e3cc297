// The log file as the main window keeps it, and the recording settings dialog, driven as a user
// would: files on disk, the dialog's controls, the question and the messages.

#include "res/resource.h"
#include "tests/win/support/DialogDriver.h"
#include "tests/win/support/MessagePump.h"
#include "toolkit/TextConv.h"
#include "ui/MainDlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <regex>
#include <sstream>

namespace
{

// Octal escapes: the header's Polish letters in code page 1250.
const std::string HEADER_CP1250 =
    "Data i Godzina;Nat\352\277enie \234wiat\263a1[kLx];Nat\352\277enie \234wiat\263a2[kLx]\r\n";
const wchar_t SETTINGS[] = L"Ustawienia zapisu do pliku";
const std::wstring UNAVAILABLE =
    L"Wybrany plik rejestracji wynik\x00f3w pomiaru jest niedost\x0119pny.";

std::string TempPath(const char* name, const char* contents = nullptr)
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::string path = WideToUtf8(folder) + name;
    DeleteFileW(Utf8ToWide(path).c_str());
    if (contents)
        std::ofstream(path, std::ios::binary) << contents;
    return path;
}

// The file's bytes with every timestamp as "T".
std::string Contents(const std::string& path)
{
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    static const std::regex timestamp(R"(\d{4}\.\d\d\.\d\d \d\d:\d\d:\d\d)");
    return std::regex_replace(bytes.str(), timestamp, "T");
}

using Action = std::function<void(HWND)>;

// The date-time picker of the settings dialog, registered as the program registers it.
const bool PICKER_REGISTERED = []
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
}();

// Answers each new dialog or message box with the next list of actions, and notes its caption
// (the settings dialog) or its message.
struct Script
{
    explicit Script(std::deque<std::vector<Action>> s = {}) : steps(std::move(s)) {}
    std::deque<std::vector<Action>> steps;
    std::vector<std::wstring> seen;
    HWND last = nullptr;
    DialogDriver driver{
        [this](HWND dialog, const std::wstring& caption)
        {
            // The main window, once shown, and a dialog still closing.
            if (caption == L"QM7xx" || dialog == last)
                return;
            last = dialog;
            seen.push_back(caption == SETTINGS ? caption : DialogDriver::MessageOf(dialog));
            for (const Action& action : steps.empty() ? std::vector<Action>{} : steps.front())
                action(dialog);
            if (!steps.empty())
                steps.pop_front();
        }};
};

Action Click(int id)
{
    return [id](HWND dialog) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); };
}
Action Press(int id)
{
    return [id](HWND dialog) { DialogDriver::Press(dialog, id); };
}
Action TypePathAndEnter(const std::string& path)
{
    return [path](HWND dialog)
    {
        SetFocus(GetDlgItem(dialog, IDC_RECORD_PATH));
        SetDlgItemTextW(dialog, IDC_RECORD_PATH, Utf8ToWide(path).c_str());
        PostMessageW(GetDlgItem(dialog, IDC_RECORD_PATH), WM_KEYDOWN, VK_RETURN, 0);
    };
}
// Into the picker and out again, as the user's focus goes.
Action SetInterval(WORD minutes, WORD seconds)
{
    return [=](HWND dialog)
    {
        HWND picker = GetDlgItem(dialog, IDC_RECORD_INTERVAL);
        SetFocus(picker);
        SYSTEMTIME t{2000, 1, 6, 1, 0, minutes, seconds, 0};
        SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
        SetFocus(GetDlgItem(dialog, IDC_RECORD_PATH));
    };
}

std::unique_ptr<CMainDlg> LoggingWindow(const std::string& path, int fileLog = 1)
{
    auto window = std::make_unique<CMainDlg>();
    window->showAdv = 0;
    window->fileName = path;
    window->fileLog = fileLog;
    window->fileSepFormat = SEP_SEMICOLON;
    EXPECT_TRUE(window->Create());
    window->KillTimer(TIMER_PORT_RETRY);
    return window;
}

TEST(Recording, StartUpAppendsWithoutAskingAndTheFirstTickWritesAHeader)
{
    const std::string path = TempPath("startup.csv", "old\r\n");
    Script script;
    auto window = LoggingWindow(path);
    EXPECT_EQ(Contents(path), "old\r\n") << "nothing before the first tick";
    EXPECT_TRUE(PumpUntil([&] { return Contents(path).size() > 5; }, 3000));
    EXPECT_EQ(Contents(path), "old\r\n" + HEADER_CP1250 + "T;???;???\r\n");
    EXPECT_TRUE(script.seen.empty());
    EXPECT_EQ(window->statusLine.GetWindowText(),
              "Brak łączności z przyrządem. Rejestracja do pliku co 00:00:01.");
}

TEST(Recording, ConfirmedSettingsRecordAtOnceAndReopenOnlyWhenMoreThanTheIntervalChanged)
{
    const std::string path = TempPath("worked.csv");
    auto window = LoggingWindow(TempPath("elsewhere.csv"), 0);
    window->linkLost = 0;
    window->twoChannelMode = 1;
    window->decoder.reading.secondChannel = 8;
    window->reading1 = 12.3;
    window->reading2 = 11.8;
    LONG yesStyle = 0;
    Script script({{Click(IDC_RECORD_ON), SetInterval(1, 0), TypePathAndEnter(path)},
                   {SetInterval(1, 30), Press(IDOK)},
                   {Click(IDC_RECORD_SEP_COMMA), Press(IDOK)},
                   {[&](HWND box) { yesStyle = GetWindowLongW(GetDlgItem(box, IDYES), GWL_STYLE); },
                    Press(IDNO)}});
    window->SendMessage(WM_COMMAND, ID_SETTINGS_RECORDING);
    window->reading1 = 12.4;
    window->decoder.reading.measurementError2 = 2;
    window->WriteLogRecord();
    EXPECT_EQ(Contents(path), HEADER_CP1250 + "T;12.3;11.8\r\nT;12.4;???\r\n");

    window->SendMessage(WM_COMMAND, ID_SETTINGS_RECORDING);
    EXPECT_EQ(Contents(path), HEADER_CP1250 + "T;12.3;11.8\r\nT;12.4;???\r\nT;12.4;???\r\n");
    EXPECT_EQ(window->statusLine.GetWindowText(),
              "QM-701 numer 0. Błąd pomiaru! Dostępne dwa kanały pomiarów. Rejestracja do pliku "
              "co 00:01:30.");

    window->SendMessage(WM_COMMAND, ID_SETTINGS_RECORDING);
    std::string commaHeader = HEADER_CP1250;
    commaHeader[14] = commaHeader[38] = ',';
    EXPECT_EQ(Contents(path), commaHeader + "T,12.4,???\r\n") << "No empties the file";
    EXPECT_EQ(yesStyle & 0xF, BS_DEFPUSHBUTTON);
    ASSERT_EQ(script.seen.size(), 4u);
    EXPECT_EQ(WideToUtf8(script.seen[3]),
              "Plik rejestracji pomiarów już istnieje.\r\nWybierz Tak aby dopisywać wyniki do "
              "poprzednich,\r\nwybierz Nie aby skasować poprzednią zawartość pliku.");
}

TEST(Recording, AnUnopenableFileIsReportedAndTheDialogComesBackRefusingOkWithoutAChannel)
{
    const std::string bad = TempPath("no such folder\\log.csv");
    std::wstring shownPath;
    SYSTEMTIME shown{};
    const Action readPicker = [&](HWND d)
    {
        SendMessageW(GetDlgItem(d, IDC_RECORD_INTERVAL), DTM_GETSYSTEMTIME, 0,
                     reinterpret_cast<LPARAM>(&shown));
    };
    Script script(
        {{Press(IDOK)},
         {[&](HWND d) { shownPath = DialogDriver::TextOf(GetDlgItem(d, IDC_RECORD_PATH)); },
          Click(IDC_RECORD_CHANNEL1), SetInterval(0, 0), Press(IDOK)},
         {Press(IDOK)},
         {readPicker, Press(IDCANCEL)}});
    auto window = std::make_unique<CMainDlg>();
    window->showAdv = 0;
    window->fileName = bad;
    window->fileLog = 1;
    window->fileLogCanal2 = 0;
    window->fileInterval = 90;
    ASSERT_TRUE(window->Create());
    const std::wstring noChannel = L"Wybierz przynajmniej jedn\x0105 wielko\x015B\x0107 do zapisu";
    EXPECT_EQ(script.seen, (std::vector<std::wstring>{UNAVAILABLE, SETTINGS, noChannel, SETTINGS}));
    EXPECT_EQ(WideToUtf8(shownPath), bad);
    EXPECT_EQ(shown.wHour * 3600 + shown.wMinute * 60 + shown.wSecond, 1) << "00:00:00 corrected";
    EXPECT_EQ(window->fileInterval, 90) << "Cancel changes nothing";
    EXPECT_EQ(window->fileLog, 0) << "cancelled with no file open";
    EXPECT_EQ(window->logTimerId, 0u);
}

TEST(Recording, AFailedWriteIsReportedOnceAndLoggingGoesOn)
{
    auto window = LoggingWindow("Z:\\dev\\full"); // a disk that is always full
    ASSERT_TRUE(window->logFile);
    int reports = 0;
    DialogDriver driver(
        [&](HWND box, const std::wstring& caption)
        {
            if (caption == L"QM7xx")
                return;
            ++reports;
            EXPECT_NE(DialogDriver::MessageOf(box).find(L"Z:\\dev\\full"), std::wstring::npos);
            PumpFor(2500); // ticks while the report is open add none
            DialogDriver::Press(box, IDOK);
        });
    EXPECT_TRUE(PumpUntil([&] { return reports == 2; }, 8000)) << "the next tick tries again";
    EXPECT_TRUE(window->logFile);
    EXPECT_NE(window->logTimerId, 0u);
}

} // namespace
