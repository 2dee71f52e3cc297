// The real QM7xx.exe on one end of a virtual serial pair, the meter simulator on the other, and
// this probe reading and driving the program's window from outside, as a user would.

#include "res/resource.h"
#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/Meter.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"
#include "tests/e2e/VirtualPair.h"
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
// blink periods); the shot with the most text is saved for people to look at.
bool Blinks(const ProgramUnderTest& program, int panelId, const wchar_t* screenshot)
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
        const WindowShot shot(program.MainWindow());
        const int ink = shot.Count(PANEL_TEXT, panel);
        least = std::min(least, ink);
        if (ink > most)
        {
            most = ink;
            shot.Save(ScreenshotFolder(), screenshot);
        }
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
        if (PairRuns())
            Pair("stop");
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
    EXPECT_TRUE(Blinks(program, IDC_PANEL1, L"first-view.bmp"));

    program.CloseBox();
    ASSERT_TRUE(EndsNormally(program));
    // What each value holds is the settings tests' business; here: all are written, the nineteen
    // of the first version and the chart window's six.
    EXPECT_EQ(settings_key::ValueCount(), 25u);
    EXPECT_EQ(settings_key::ReadDword(L"SHOW_ADV"), 1u) << "closing the advert changes nothing";
}

// The meter first falls silent, then the program's port disappears under it (as a USB adapter
// pulled out: the pair it listens on is taken away). Either way the link is shown lost as for a
// silent meter, and the program goes on answering its menu and ends as always.
TEST_F(EndToEnd, OneChannelMeterShowsItsStatusAndErrorsAndTheLinkIsLostWhenTheMeterOrThePortGoes)
{
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "the virtual serial pair is made under Wine only";
    ASSERT_TRUE(Pair("start")) << "no virtual serial pair in " << QM_E2E_LOST_PAIR_DIR;
    ASSERT_TRUE(settings_key::StartFresh(LOST_PROGRAM_PORT));
    Meter lostMeter(SimulatorPath(), LOST_METER_PORT);
    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    EXPECT_TRUE(StatusBecomes(program, NO_LINK, 1000)) << "before the first frame";

    ASSERT_TRUE(lostMeter.Play(QM700_WM2)) << lostMeter.Failure();
    EXPECT_TRUE(StatusBecomes(program, L"QM-700 numer 123. Pomiar prawidłowy."));
    EXPECT_FALSE(program.IsShown(IDC_PANEL2));
    EXPECT_FALSE(Blinks(program, IDC_PANEL1, L"one-channel.bmp"));
    // Every good frame restarts the watchdog: a meter that keeps sending is never given up.
    EXPECT_FALSE(WaitUntil([&] { return program.StatusText() == NO_LINK; }, 6000))
        << "the link was shown lost while good frames kept coming";

    ASSERT_TRUE(lostMeter.Play(With(QM700_WM2, L"--measurement-error", L"all")));
    EXPECT_TRUE(StatusBecomes(program, L"QM-700 numer 123. Błąd pomiaru!"));
    EXPECT_TRUE(Blinks(program, IDC_PANEL1, L"measurement-error.bmp"));

    // The watchdog gives the meter 5 s after its last good frame.
    lostMeter.Unplug();
    const ULONGLONG silent = GetTickCount64();
    EXPECT_TRUE(StatusBecomes(program, NO_LINK, 6000));
    EXPECT_GE(GetTickCount64() - silent, 4000u) << "the link was given up too early";
    EXPECT_TRUE(Blinks(program, IDC_PANEL1, L"link-lost.bmp"));

    ASSERT_TRUE(lostMeter.Play(With(QM700_WM2, L"--calibration-error", L"all")));
    EXPECT_TRUE(StatusBecomes(program, L"QM-700 numer 123. Błąd kalibracji!"));
    ASSERT_TRUE(Pair("stop")) << "the pair was not taken away";
    EXPECT_TRUE(StatusBecomes(
        program, std::wstring(NO_LINK) + L" Ponawiam połączenie z portem COM14.", 6000))
        << "a port that disappeared is tried again";
    program.Command(ID_VIEW_TOPMOST);
    EXPECT_TRUE(WaitUntil([&] { return program.IsTopmost(); }, 3000)) << "the menu does not work";
    program.Command(ID_PORT_SELECT);
    HWND portDialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (portDialog = program.FindDialog(PORT_DIALOG)); }, 5000));
    Press(portDialog, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !program.FindDialog(PORT_DIALOG); }, 5000));
    program.Command(ID_APP_EXIT);
    EXPECT_EQ(program.WaitForExit(2000), std::optional<DWORD>(0)) << "not ended within 2 s";
    EXPECT_EQ(settings_key::ReadDword(L"DEVICE_UNIT"), 1u) << "the meter's W/m² is kept";
}

TEST_F(EndToEnd, TwoChannelMeterShowsBothPanelsAndTheirErrorsAndAlwaysOnTopIsSaved)
{
    ASSERT_TRUE(settings_key::StartFresh(PROGRAM_PORT));
    ASSERT_NO_FATAL_FAILURE(Play(QM701));
    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    EXPECT_TRUE(StatusBecomes(
        program, L"QM-701 numer 4242. Pomiar prawidłowy. Dostępne dwa kanały pomiarów."));
    EXPECT_TRUE(WaitUntil([&] { return program.IsShown(IDC_PANEL2); }, 1000));
    EXPECT_FALSE(Blinks(program, IDC_PANEL2, L"two-channels.bmp"));

    ASSERT_NO_FATAL_FAILURE(Play(With(QM701, L"--measurement-error2", L"all")));
    EXPECT_TRUE(
        StatusBecomes(program, L"QM-701 numer 4242. Błąd pomiaru! Dostępne dwa kanały pomiarów."));
    EXPECT_FALSE(Blinks(program, IDC_PANEL1, L"error2-panel1.bmp"))
        << "only channel 2 has the error";
    EXPECT_TRUE(Blinks(program, IDC_PANEL2, L"error2-panel2.bmp"));

    ASSERT_NO_FATAL_FAILURE(Play(With(QM701, L"--channels", L"1")));
    EXPECT_TRUE(StatusBecomes(
        program, L"QM-701 numer 4242. Pomiar prawidłowy. Dostępny jeden kanał pomiarów."));
    EXPECT_TRUE(WaitUntil([&] { return !program.IsShown(IDC_PANEL2); }, 1000));

    EXPECT_FALSE(program.IsTopmost());
    program.Command(ID_VIEW_TOPMOST);
    EXPECT_TRUE(WaitUntil([&] { return program.IsTopmost(); }, 2000));
    program.Command(ID_APP_EXIT);
    ASSERT_TRUE(EndsNormally(program));
    EXPECT_EQ(settings_key::ReadDword(L"TOPMOST"), 1u);
}

} // namespace
