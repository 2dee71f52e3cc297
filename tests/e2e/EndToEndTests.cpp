// The real QM7xx.exe on one end of a virtual serial pair, the meter simulator on the other, and
// this probe reading and driving the program's window from outside, as a user would.

#include "res/resource.h"
#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/Meter.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"
#include "tests/e2e/WindowShot.h"
#include "toolkit/TextConv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace
{

constexpr wchar_t NO_LINK[] = L"Brak łączności z przyrządem.";
constexpr wchar_t PORT_DIALOG[] = L"Port szeregowy";
constexpr wchar_t ADVERT_DIALOG[] = L"KORVEX - promocja QMX";
// 550 x 400 pixels at 50, 50, whatever the last run did.
constexpr RECT FIRST_PLACE{50, 50, 600, 450};
constexpr COLORREF PANEL_TEXT = RGB(0, 64, 128);

const std::vector<std::wstring> QM701{L"--model",  L"701", L"--device", L"4242",
                                      L"--range1", L"klx", L"--level",  L"12.5",
                                      L"--range2", L"wm2", L"--level2", L"345.6"};

std::vector<std::wstring> With(std::vector<std::wstring> options, const wchar_t* option,
                               const wchar_t* value)
{
    options.insert(options.end(), {option, value});
    return options;
}

// Whether a panel's text comes and goes (or stays up), from shots 100 ms apart over 1.5 s (three
// blink periods).
bool Blinks(const ProgramUnderTest& program, int panelId)
{
    // "???" or a reading in the 90-pixel font covers far more than this; hidden text none.
    constexpr int UP = 500, GONE = 10;
    const RECT panel = program.ControlRect(panelId);
    // What the program paints reaches the screen a little later (Wine hands a window's pixels to
    // the X server in batches): the shots start once the text has been up.
    WaitUntil([&] { return WindowShot(program.MainWindow()).Count(PANEL_TEXT, panel) > UP; }, 1500);
    int least = INT_MAX, most = -1;
    for (int i = 0; i < 15; ++i, Sleep(100))
    {
        const int ink = WindowShot(program.MainWindow()).Count(PANEL_TEXT, panel);
        least = std::min(least, ink);
        most = std::max(most, ink);
    }
    EXPECT_GT(most, UP) << "the text of panel " << panelId << " never showed";
    return least < GONE;
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
    void Play(const std::vector<std::wstring>& options)
    {
        ASSERT_TRUE(meter.Play(options)) << meter.Failure();
    }

    Meter meter{SimulatorPath(), METER_PORT};
};

// No settings key at all: the advert window is offered about 100 ms after the main window, and the
// port dialog (no port is stored) waits until it is closed.
TEST_F(EndToEnd, FirstRunShowsTheAdvertThenThePortDialogThenTheFirstViewAndSavesEveryValue)
{
    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    const ULONGLONG mainShown = GetTickCount64();
    EXPECT_TRUE(settings_key::ValueCount().has_value()) << "loading the settings creates the key";
    HWND advert = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (advert = program.FindDialog(ADVERT_DIALOG)) != nullptr; },
                          5000, 10));
    EXPECT_LT(GetTickCount64() - mainShown, 1000u);

    // The port dialog's timer comes every 500 ms, and waits while the advert is open.
    const auto portDialog = [&] { return program.FindDialog(PORT_DIALOG); };
    EXPECT_FALSE(WaitUntil([&] { return portDialog() != nullptr; }, 1600));
    Press(advert, IDOK); // "Zamknij"
    ASSERT_TRUE(WaitUntil([&] { return portDialog() != nullptr; }, 8000));
    Press(portDialog(), IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return portDialog() == nullptr; }, 5000));

    EXPECT_TRUE(StatusBecomes(program, NO_LINK, 1000));
    EXPECT_TRUE(program.IsShown(IDC_PANEL1));
    EXPECT_FALSE(program.IsShown(IDC_PANEL2));
    const RECT place = program.WindowRect();
    EXPECT_TRUE(EqualRect(&place, &FIRST_PLACE));
    EXPECT_TRUE(Blinks(program, IDC_PANEL1));

    program.CloseBox();
    ASSERT_TRUE(EndsNormally(program));
    // What each value holds is the settings tests' business; here: all are written, the nineteen
    // of the first version and the chart window's six.
    EXPECT_EQ(settings_key::ValueCount(), 25u);
    EXPECT_EQ(settings_key::ReadDword(L"SHOW_ADV"), 1u) << "closing the advert changes nothing";
}

// (A port that disappears under the program is the reconnect case's.)
TEST_F(EndToEnd, OneChannelMeterShowsItsStatusAndErrorsAndTheLinkIsLostWhenTheMeterFallsSilent)
{
    ASSERT_TRUE(settings_key::StartFresh(PROGRAM_PORT));
    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    EXPECT_TRUE(StatusBecomes(program, NO_LINK, 1000)) << "before the first frame";

    ASSERT_NO_FATAL_FAILURE(Play(QM700_WM2));
    EXPECT_TRUE(StatusBecomes(program, L"QM-700 numer 123. Pomiar prawidłowy."));
    EXPECT_FALSE(program.IsShown(IDC_PANEL2));
    EXPECT_FALSE(Blinks(program, IDC_PANEL1));
    // Every good frame restarts the watchdog: a meter that keeps sending is never given up.
    EXPECT_FALSE(WaitUntil([&] { return program.StatusText() == NO_LINK; }, 6000))
        << "the link was shown lost while good frames kept coming";

    ASSERT_NO_FATAL_FAILURE(Play(With(QM700_WM2, L"--measurement-error", L"all")));
    EXPECT_TRUE(StatusBecomes(program, L"QM-700 numer 123. Błąd pomiaru!"));
    EXPECT_TRUE(Blinks(program, IDC_PANEL1));

    // The watchdog gives the meter 5 s after its last good frame.
    meter.Unplug();
    const ULONGLONG silent = GetTickCount64();
    EXPECT_TRUE(StatusBecomes(program, NO_LINK, 6000));
    EXPECT_GE(GetTickCount64() - silent, 4000u) << "the link was given up too early";
    EXPECT_TRUE(Blinks(program, IDC_PANEL1));

    ASSERT_NO_FATAL_FAILURE(Play(With(QM700_WM2, L"--calibration-error", L"all")));
    EXPECT_TRUE(StatusBecomes(program, L"QM-700 numer 123. Błąd kalibracji!"));
    program.Command(ID_APP_EXIT);
    ASSERT_TRUE(EndsNormally(program));
    EXPECT_EQ(settings_key::ReadDword(L"DEVICE_UNIT"), 1u) << "the meter's W/m² is kept";
}

TEST_F(EndToEnd, TwoChannelMeterShowsBothPanelsAndTheirErrors)
{
    ASSERT_TRUE(settings_key::StartFresh(PROGRAM_PORT));
    ASSERT_NO_FATAL_FAILURE(Play(QM701));
    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    EXPECT_TRUE(StatusBecomes(
        program, L"QM-701 numer 4242. Pomiar prawidłowy. Dostępne dwa kanały pomiarów."));
    EXPECT_TRUE(WaitUntil([&] { return program.IsShown(IDC_PANEL2); }, 1000));
    EXPECT_FALSE(Blinks(program, IDC_PANEL2));

    ASSERT_NO_FATAL_FAILURE(Play(With(QM701, L"--measurement-error2", L"all")));
    EXPECT_TRUE(
        StatusBecomes(program, L"QM-701 numer 4242. Błąd pomiaru! Dostępne dwa kanały pomiarów."));
    EXPECT_FALSE(Blinks(program, IDC_PANEL1)) << "only channel 2 has the error";
    EXPECT_TRUE(Blinks(program, IDC_PANEL2));

    ASSERT_NO_FATAL_FAILURE(Play(With(QM701, L"--channels", L"1")));
    EXPECT_TRUE(StatusBecomes(
        program, L"QM-701 numer 4242. Pomiar prawidłowy. Dostępny jeden kanał pomiarów."));
    EXPECT_TRUE(WaitUntil([&] { return !program.IsShown(IDC_PANEL2); }, 1000));
    program.Command(ID_APP_EXIT);
    ASSERT_TRUE(EndsNormally(program));
}

} // namespace
