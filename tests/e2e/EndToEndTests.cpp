// The real QM7xx.exe on one end of a virtual serial pair, the meter simulator on the other, and
// this probe reading and driving the program's window from outside, as a user would.

#include "res/resource.h"
#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/Meter.h"
#include "tests/e2e/PanelFilm.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"
#include "toolkit/TextConv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace
{

// The start-up picture alone takes 3 s, and Wine needs a moment to start a process.
constexpr DWORD START_TIMEOUT_MS = 20000;
constexpr DWORD EXIT_TIMEOUT_MS = 10000;
constexpr DWORD READING_TIMEOUT_MS = 8000;

constexpr wchar_t NO_LINK[] = L"Brak łączności z przyrządem.";
constexpr wchar_t PORT_DIALOG[] = L"Port szeregowy";
constexpr wchar_t ADVERT_DIALOG[] = L"KORVEX - promocja QMX";

// The panels' default background colour.
constexpr COLORREF PANEL_BACKGROUND = RGB(202, 228, 255);

std::string Utf8(const std::wstring& text)
{
    return WideToUtf8(text);
}

std::string Describe(const std::vector<std::wstring>& texts)
{
    std::string joined;
    for (const std::wstring& text : texts)
        joined += (joined.empty() ? "" : ", ") + Utf8(text);
    return joined.empty() ? "none" : joined;
}

::testing::AssertionResult StatusBecomes(const ProgramUnderTest& program,
                                         const std::wstring& expected, DWORD timeoutMs)
{
    std::wstring seen;
    if (WaitUntil(
            [&]
            {
                seen = program.StatusText();
                return seen == expected;
            },
            timeoutMs))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the status line still reads \"" << Utf8(seen) << "\" after " << timeoutMs
           << " ms; expected \"" << Utf8(expected) << "\"";
}

::testing::AssertionResult EndsNormally(ProgramUnderTest& program)
{
    const std::optional<DWORD> code = program.WaitForExit(EXIT_TIMEOUT_MS);
    if (!code)
        return ::testing::AssertionFailure()
               << "the program is still running " << EXIT_TIMEOUT_MS << " ms after being closed";
    if (*code != 0)
        return ::testing::AssertionFailure() << "the program ended with code " << *code;
    return ::testing::AssertionSuccess();
}

void PressCancel(HWND dialog)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

std::string RectText(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

// Every run starts with the window here, whatever the user did in the last one.
constexpr char FIRST_WINDOW_RECT[] = "(50, 50)-(600, 450)"; // 550 x 400 pixels at 50, 50

// Simulator options of the meters the scenarios use.
const std::vector<std::wstring> QM700_WM2{L"--model", L"700", L"--device", L"123",
                                          L"--unit",  L"wm2", L"--level",  L"456.7"};
const std::vector<std::wstring> QM701{L"--model",  L"701", L"--device", L"4242",
                                      L"--range1", L"klx", L"--level",  L"12.5",
                                      L"--range2", L"wm2", L"--level2", L"345.6"};

std::vector<std::wstring> With(std::vector<std::wstring> options,
                               const std::vector<std::wstring>& more)
{
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

class EndToEnd : public ::testing::Test
{
protected:
    void SetUp() override { settings_key::Delete(); }
    void TearDown() override
    {
        meter.Unplug();
        settings_key::Delete();
    }

    // The program's side of the pair, and no advert window over the main window.
    static void StorePortSettings()
    {
        ASSERT_TRUE(settings_key::WriteDword(L"PORT_NR", PROGRAM_PORT));
        ASSERT_TRUE(settings_key::WriteDword(L"SHOW_ADV", 0));
    }

    void Play(const std::vector<std::wstring>& options)
    {
        ASSERT_TRUE(meter.Play(options)) << meter.Failure();
    }

    // Films the main window and saves its best shot, for people to look at.
    static PanelFilm Film(const ProgramUnderTest& program, const wchar_t* name)
    {
        PanelFilm film(program);
        EXPECT_FALSE(film.Best().Empty()) << "no picture of the main window for " << Utf8(name);
        EXPECT_TRUE(film.Best().Save(ScreenshotFolder(), name))
            << "cannot write " << Utf8(ScreenshotFolder() + L"\\" + name);
        return film;
    }

    Meter meter{SimulatorPath(), METER_PORT};
};

TEST_F(EndToEnd, FirstRunCreatesTheKeyShowsTheFirstViewAndTheCloseBoxSavesEveryValue)
{
    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    EXPECT_TRUE(settings_key::Exists()) << "loading the settings creates the key";

    // No port is stored: the port selection opens once the window shows (after the advert
    // window, when there is one).
    HWND portDialog = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&]
        {
            if (HWND advert = program.FindDialog(ADVERT_DIALOG))
                PressCancel(advert);
            portDialog = program.FindDialog(PORT_DIALOG);
            return portDialog != nullptr;
        },
        START_TIMEOUT_MS))
        << "no port dialog; other windows: " << Describe(program.OtherWindows());
    PressCancel(portDialog);
    EXPECT_TRUE(WaitUntil([&] { return program.FindDialog(PORT_DIALOG) == nullptr; }, 5000));

    EXPECT_TRUE(StatusBecomes(program, NO_LINK, 1000));
    EXPECT_TRUE(program.IsShown(IDC_PANEL1));
    EXPECT_FALSE(program.IsShown(IDC_PANEL2));
    EXPECT_EQ(RectText(program.WindowRect()), FIRST_WINDOW_RECT);
    const PanelFilm film = Film(program, L"first-view.bmp");
    EXPECT_TRUE(film.Blinking(IDC_PANEL1))
        << "the first view's \"???\" blinks; " << film.InkSeries(IDC_PANEL1);
    const RECT panel = program.ControlRect(IDC_PANEL1);
    EXPECT_GT(film.Best().Count(PANEL_BACKGROUND, panel),
              (panel.right - panel.left) * (panel.bottom - panel.top) / 2)
        << "panel 1 is not painted in its background colour";

    program.CloseBox();
    ASSERT_TRUE(EndsNormally(program));

    // What each value holds is the settings tests' business; here: all nineteen are written.
    EXPECT_EQ(settings_key::ValueNames().size(), 19u);
}

TEST_F(EndToEnd, OneChannelMeterShowsItsStatusAndErrorsAndTheLinkIsLostWhenItStops)
{
    ASSERT_NO_FATAL_FAILURE(StorePortSettings());
    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    EXPECT_TRUE(StatusBecomes(program, NO_LINK, 1000)) << "before the first frame";

    ASSERT_NO_FATAL_FAILURE(Play(QM700_WM2));
    EXPECT_TRUE(
        StatusBecomes(program, L"QM-700 numer 123. Pomiar prawidłowy.", READING_TIMEOUT_MS));
    EXPECT_TRUE(program.IsShown(IDC_PANEL1));
    EXPECT_FALSE(program.IsShown(IDC_PANEL2));
    const PanelFilm reading = Film(program, L"one-channel.bmp");
    EXPECT_TRUE(reading.Steady(IDC_PANEL1))
        << reading.InkSeries(IDC_PANEL1) << ", a good reading stays up";
    // Every good frame restarts the watchdog: a meter that keeps sending is never given up.
    EXPECT_FALSE(WaitUntil([&] { return program.StatusText() == NO_LINK; }, 6000))
        << "the link was shown lost while good frames kept coming";

    ASSERT_NO_FATAL_FAILURE(Play(With(QM700_WM2, {L"--measurement-error", L"all"})));
    EXPECT_TRUE(StatusBecomes(program, L"QM-700 numer 123. Błąd pomiaru!", READING_TIMEOUT_MS));
    const PanelFilm measurementError = Film(program, L"measurement-error.bmp");
    EXPECT_TRUE(measurementError.Blinking(IDC_PANEL1)) << measurementError.InkSeries(IDC_PANEL1);

    ASSERT_NO_FATAL_FAILURE(Play(With(QM700_WM2, {L"--calibration-error", L"all"})));
    EXPECT_TRUE(StatusBecomes(program, L"QM-700 numer 123. Błąd kalibracji!", READING_TIMEOUT_MS));
    const PanelFilm calibrationError = Film(program, L"calibration-error.bmp");
    EXPECT_TRUE(calibrationError.Blinking(IDC_PANEL1)) << calibrationError.InkSeries(IDC_PANEL1);

    // The watchdog gives the meter 5 s after its last good frame.
    meter.Unplug();
    const ULONGLONG unplugged = GetTickCount64();
    EXPECT_TRUE(StatusBecomes(program, NO_LINK, 6000));
    EXPECT_GE(GetTickCount64() - unplugged, 4000u) << "the link was given up too early";
    EXPECT_TRUE(program.IsShown(IDC_PANEL1));
    EXPECT_FALSE(program.IsShown(IDC_PANEL2));
    const PanelFilm linkLost = Film(program, L"link-lost.bmp");
    EXPECT_TRUE(linkLost.Blinking(IDC_PANEL1))
        << linkLost.InkSeries(IDC_PANEL1) << ", \"???\" blinks";

    program.Command(ID_APP_EXIT);
    ASSERT_TRUE(EndsNormally(program));
    EXPECT_EQ(settings_key::ReadDword(L"PORT_NR"), static_cast<DWORD>(PROGRAM_PORT));
    EXPECT_EQ(settings_key::ReadDword(L"DEVICE_UNIT"), 1u) << "the meter's W/m² is kept";
    EXPECT_EQ(settings_key::ValueNames().size(), 19u);
}

TEST_F(EndToEnd, TwoChannelMeterAndAlwaysOnTopChosenFromTheMenuSurvivesARestart)
{
    ASSERT_NO_FATAL_FAILURE(StorePortSettings());
    ASSERT_NO_FATAL_FAILURE(Play(QM701));
    const std::wstring twoChannels =
        L"QM-701 numer 4242. Pomiar prawidłowy. Dostępne dwa kanały pomiarów.";
    {
        ProgramUnderTest program(ProgramPath());
        ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
        EXPECT_FALSE(program.IsTopmost());

        EXPECT_TRUE(StatusBecomes(program, twoChannels, READING_TIMEOUT_MS));
        EXPECT_TRUE(WaitUntil([&] { return program.IsShown(IDC_PANEL2); }, 1000));
        EXPECT_TRUE(program.IsShown(IDC_PANEL1));
        const PanelFilm film = Film(program, L"two-channels.bmp");
        EXPECT_TRUE(film.Steady(IDC_PANEL1)) << film.InkSeries(IDC_PANEL1);
        EXPECT_TRUE(film.Steady(IDC_PANEL2)) << film.InkSeries(IDC_PANEL2);

        ASSERT_NO_FATAL_FAILURE(Play(With(QM701, {L"--measurement-error2", L"all"})));
        EXPECT_TRUE(StatusBecomes(program,
                                  L"QM-701 numer 4242. Błąd pomiaru! Dostępne dwa kanały pomiarów.",
                                  READING_TIMEOUT_MS));
        const PanelFilm error2 = Film(program, L"two-channels-error2.bmp");
        EXPECT_TRUE(error2.Steady(IDC_PANEL1))
            << error2.InkSeries(IDC_PANEL1) << ", only channel 2 has the error";
        EXPECT_TRUE(error2.Blinking(IDC_PANEL2)) << error2.InkSeries(IDC_PANEL2);

        ASSERT_NO_FATAL_FAILURE(Play(With(QM701, {L"--channels", L"1"})));
        EXPECT_TRUE(StatusBecomes(
            program, L"QM-701 numer 4242. Pomiar prawidłowy. Dostępny jeden kanał pomiarów.",
            READING_TIMEOUT_MS));
        EXPECT_TRUE(WaitUntil([&] { return !program.IsShown(IDC_PANEL2); }, 1000));
        ASSERT_NO_FATAL_FAILURE(Play(QM701));

        program.Command(ID_VIEW_TOPMOST);
        EXPECT_TRUE(WaitUntil([&] { return program.IsTopmost(); }, 2000));
        program.Command(ID_APP_EXIT);
        ASSERT_TRUE(EndsNormally(program));
        EXPECT_EQ(settings_key::ReadDword(L"TOPMOST"), 1u);
    }
    {
        ProgramUnderTest program(ProgramPath());
        ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
        EXPECT_TRUE(program.IsTopmost());
        EXPECT_EQ(RectText(program.WindowRect()), FIRST_WINDOW_RECT);
        EXPECT_TRUE(StatusBecomes(program, twoChannels, READING_TIMEOUT_MS));
        EXPECT_TRUE(WaitUntil([&] { return program.IsShown(IDC_PANEL2); }, 1000));
        const PanelFilm film = Film(program, L"restarted-on-top.bmp");
        EXPECT_TRUE(film.Steady(IDC_PANEL1)) << film.InkSeries(IDC_PANEL1);
        EXPECT_TRUE(film.Steady(IDC_PANEL2)) << film.InkSeries(IDC_PANEL2);

        // Taken back, and closed with the close box: that change is saved as well.
        program.Command(ID_VIEW_TOPMOST);
        EXPECT_TRUE(WaitUntil([&] { return !program.IsTopmost(); }, 2000));
        program.CloseBox();
        ASSERT_TRUE(EndsNormally(program));
        EXPECT_EQ(settings_key::ReadDword(L"TOPMOST"), 0u);
    }
}

} // namespace
