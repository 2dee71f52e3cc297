// The chart window opened from the menu while a meter sends 10 kLx, then 20 kLx: its statistics
// say so.

#include "ui/chart/ChartWnd.h"
#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/Meter.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"
#include "toolkit/TextConv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

std::vector<std::wstring> Klx(const wchar_t* level)
{
    return {L"--model", L"700",    L"--device", L"123",     L"--unit",
            L"klx",     L"--fast", L"--fixed",  L"--level", level};
}

TEST(ChartE2e, TheChartFromTheMenuShowsTheMinimumMaximumAndAverageOfWhatTheMeterSent)
{
    settings_key::Delete();
    ASSERT_TRUE(settings_key::WriteDword(L"PORT_NR", PROGRAM_PORT));
    ASSERT_TRUE(settings_key::WriteDword(L"SHOW_ADV", 0));
    Meter meter(SimulatorPath(), METER_PORT);
    ASSERT_TRUE(meter.Play(Klx(L"10"))) << meter.Failure();
    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    ASSERT_TRUE(StatusBecomes(program, L"QM-700 numer 123. Pomiar prawidłowy."));
    Sleep(3000); // seconds of 10 kLx in the history
    ASSERT_TRUE(meter.Play(Klx(L"20"))) << meter.Failure();

    program.Command(ID_VIEW_CHART);
    HWND chart = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (chart = program.FindDialog(L"QM7xx - wykres")); }, 5000));
    EXPECT_EQ(GetWindow(chart, GW_OWNER), program.MainWindow());
    const auto text = [&](ChartText which)
    { return WideToUtf8(WindowText(GetDlgItem(chart, ChartTextId(0, which)))); };
    EXPECT_TRUE(WaitUntil([&] { return text(ChartText::ViewMax) == "20.00 kLx"; }, 8000))
        << text(ChartText::ViewMax);
    EXPECT_EQ(text(ChartText::ViewMin), "10.00 kLx");
    EXPECT_EQ(text(ChartText::ResetMin), "10.00 kLx");
    const double average = std::stod(text(ChartText::ViewAverage));
    EXPECT_TRUE(average > 10.0 && average < 20.0) << average;
    EXPECT_EQ(text(ChartText::DoseName), "Naświetlenie");

    program.Command(ID_APP_EXIT);
    EXPECT_TRUE(EndsNormally(program));
    EXPECT_EQ(settings_key::ReadDword(L"CHART_OPEN"), 1u) << "open at exit: it comes back";
    settings_key::Delete();
}

} // namespace
