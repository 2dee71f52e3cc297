// The chart window on a history filled by the test: its statistics texts, its buttons, its
// picture (gaps left blank) and the PNG file it saves.

#include "ui/chart/ChartWnd.h"
#include "ui/chart/PngFile.h"
#include "res/resource.h"
#include "tests/win/support/DialogDriver.h"
#include "tests/win/support/DialogTemplate.h"
#include "tests/win/support/MessagePump.h"
#include "toolkit/DC.h"
#include "toolkit/Gdi.h"
#include "toolkit/TextConv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>

namespace
{

constexpr ChartLook LOOK{RGB(0, 64, 128), RGB(202, 228, 255)}; // the panels' default colours

// A plain window to own the chart window, as the main window does.
struct Owner
{
    Owner()
    {
        window.InitModalIndirect(layout.Get());
        window.Create();
        ShowWindow(window.m_hWnd, SW_SHOW);
    }
    ~Owner() { DestroyWindow(window.m_hWnd); }
    DialogTemplate layout{WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 100, L"QM7xx"};
    CDialog window{0u};
};

std::string TextOf(HWND window, int id)
{
    wchar_t text[256] = {};
    GetDlgItemTextW(window, id, text, 256);
    return WideToUtf8(text);
}

TEST(ChartWindow, OpensOnceOwnedAndShowsTheStatisticsOfTheHistory)
{
    Owner owner;
    ChartHistory history;
    // Ten minutes: channel 1 cycles 10 .. 19 kLx; channel 2 holds 100 W/m2 but is silent for the
    // first two minutes.
    const std::int64_t end = std::time(nullptr);
    for (std::int64_t s = end - 599; s <= end; ++s)
        history.Sample(s, {true, 10.0 + static_cast<double>(s % 10), ShownUnit::Klx},
                       s < end - 479 ? ChannelSample{}
                                     : ChannelSample{true, 100.0, ShownUnit::Wm2});

    CChartWnd chart(history, [] { return LOOK; });
    chart.settings.spanSeconds = 600;
    ASSERT_TRUE(chart.Open(owner.window));
    const HWND window = chart.m_hWnd;
    EXPECT_EQ(GetWindow(window, GW_OWNER), owner.window.m_hWnd);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_NE(GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_TRUE(chart.settings.open);

    const std::tuple<int, ChartText, std::string> cases[] = {
        {0, ChartText::ViewMin, "10.00 kLx"},
        {0, ChartText::ViewMax, "19.00 kLx"},
        {0, ChartText::ViewAverage, "14.50 kLx"},
        {0, ChartText::ResetAverage, "14.50 kLx"},
        {0, ChartText::DoseName, "Naświetlenie"},
        {1, ChartText::ViewMin, "100.00 W/m²"},
        {1, ChartText::DoseName, "Napromienienie"},
        {1, ChartText::DoseSinceReset, "47.9 kJ/m²"}, // 479 trapezoids of 100 J/m2
        {1, ChartText::GapSinceReset, "brak danych: 00:02:00"},
    };
    for (const auto& [channel, text, shown] : cases)
        EXPECT_EQ(TextOf(window, ChartTextId(channel, text)), shown)
            << channel << "/" << static_cast<int>(text);

    // "Zeruj statystyki": the totals since reset start afresh, the view stays.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CHART_RESET, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_CHART_RESET)));
    EXPECT_EQ(TextOf(window, ChartTextId(0, ChartText::ResetMin)), "—");
    EXPECT_EQ(TextOf(window, ChartTextId(0, ChartText::ViewMin)), "10.00 kLx");
    // A new second shows within the refresh period.
    history.Sample(end + 1, {true, 25.0, ShownUnit::Klx}, {});
    EXPECT_TRUE(PumpUntil(
        [&] { return TextOf(window, ChartTextId(0, ChartText::ResetMax)) == "25.00 kLx"; }, 3000));

    // The drop-down list chooses the span.
    const HWND span = GetDlgItem(window, IDC_CHART_SPAN);
    SendMessageW(span, CB_SETCURSEL, 3, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CHART_SPAN, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(span));
    EXPECT_EQ(chart.settings.spanSeconds, 86400);

    // Opening again brings the same window to the front; closing it clears the open flag and
    // keeps its place for the next opening.
    SetWindowPos(window, nullptr, 40, 30, 900, 700, SWP_NOZORDER);
    ASSERT_TRUE(chart.Open(owner.window));
    EXPECT_EQ(chart.m_hWnd, window);
    SendMessageW(window, WM_CLOSE, 0, 0); // the dialog answers with a posted "Cancel"
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 3000));
    EXPECT_FALSE(chart.settings.open);
    EXPECT_EQ(chart.settings.right - chart.settings.left, 900);
    ASSERT_TRUE(chart.Open(owner.window));
    const RECT again = chart.GetWindowRect();
    EXPECT_EQ(again.left, 40);
    EXPECT_EQ(again.bottom - again.top, 700);
    DestroyWindow(chart.m_hWnd); // as when the owner closes: the window counts as open
    EXPECT_TRUE(chart.settings.open);
}

TEST(ChartWindow, SavesThePictureAsPngAndTellsWhyItCannot)
{
    Owner owner;
    ChartHistory history;
    CChartWnd chart(history, [] { return LOOK; });
    ASSERT_TRUE(chart.Open(owner.window));

    const std::wstring path = Utf8ToWide(std::getenv("TEMP")) + L"\\qm7xx-chart-test.png";
    DeleteFileW(path.c_str());
    ASSERT_TRUE(chart.SaveImage(path));
    const std::string png(
        std::istreambuf_iterator<char>(std::ifstream(path.c_str(), std::ios::binary).rdbuf()), {});
    ASSERT_GT(png.size(), 100u);
    EXPECT_EQ(png.substr(0, 8), std::string(reinterpret_cast<const char*>(PNG_SIGNATURE), 8));
    // The picture has the chart's size (the IHDR chunk follows the signature, big-endian).
    RECT view{};
    GetClientRect(GetDlgItem(chart.m_hWnd, IDC_CHART_VIEW), &view);
    EXPECT_EQ(png.substr(16, 8), (std::string{0, 0, char(view.right >> 8), char(view.right), 0, 0,
                                              char(view.bottom >> 8), char(view.bottom)}));

    // A folder that does not exist: a message naming the file, and the old picture stays.
    std::vector<std::wstring> seen;
    DialogDriver driver(
        [&](HWND box, const std::wstring&)
        {
            seen.push_back(DialogDriver::MessageOf(box));
            DialogDriver::Press(box, IDOK);
        },
        {owner.window.m_hWnd, chart.m_hWnd});
    const std::wstring nowhere = L"Z:\\no-such-folder-qm7xx\\wykres.png";
    EXPECT_FALSE(chart.SaveImage(nowhere));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].find(L"Nie udało się zapisać obrazu wykresu"), std::wstring::npos);
    EXPECT_NE(seen[0].find(nowhere), std::wstring::npos);
    EXPECT_EQ(GetFileAttributesW(nowhere.c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileW(path.c_str());
    DestroyWindow(chart.m_hWnd);
}

TEST(ChartPicture, LeavesTheSecondsWithoutDataBlank)
{
    // An hour at a constant 50 kLx with ten minutes of silence in the middle: a flat line across
    // the middle of the plot, broken where the data are missing.
    ChartHistory history;
    const std::int64_t end = 1709251200;
    for (std::int64_t s = end - 3599; s <= end; ++s)
        history.Sample(s,
                       s > end - 2100 && s <= end - 1500
                           ? ChannelSample{}
                           : ChannelSample{true, 50.0, ShownUnit::Klx},
                       {});
    const int width = 800, height = 300;
    const BitmapHandle bitmap(CreateBitmap(width, height, 1, 32, nullptr));
    const MemoryDcHandle dc(CreateCompatibleDC(nullptr));
    SelectObject(dc.Get(), bitmap.Get());
    PaintChart(dc.Get(), {0, 0, width, height}, history, 3600, LOOK,
               static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    const auto ink = [&](int x, int y) { return GetPixel(dc.Get(), x, y) == LOOK.text; };

    // The row the line runs along holds the most pixels of the text colour.
    int lineRow = 0, most = 0;
    for (int y = 0; y < height; ++y)
    {
        int count = 0;
        for (int x = 0; x < width; ++x)
            count += ink(x, y);
        if (count > most)
            most = count, lineRow = y;
    }
    ASSERT_GT(most, 400);
    // Runs of ink along that row, with the pen's own breaks (a pixel or two) closed: the value
    // label at the left, the line up to the gap, the line after it.
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < width; ++x)
        if (ink(x, lineRow))
        {
            if (!runs.empty() && x - runs.back().second <= 3)
                runs.back().second = x;
            else
                runs.push_back({x, x});
        }
    ASSERT_GE(runs.size(), 2u);
    const auto& before = runs[runs.size() - 2];
    const auto& after = runs.back();
    const int lineStart = before.first, lineEnd = after.second;
    const int blank = after.first - before.second - 1;
    // Ten minutes of the hour: a sixth of the line's width, give or take the pen.
    EXPECT_NEAR(blank, (lineEnd - lineStart) / 6.0, 3.0) << lineStart << ".." << lineEnd;
}

} // namespace
