#pragma once

// The chart window's persistent settings: the span shown, whether the window was open and where.
// Kept under the program's registry key as REG_DWORD values (names below). Platform-free.

#include "res/Texts.h"

#include <cstdint>

constexpr wchar_t CHART_SPAN_VALUE[] =
    L"CHART_SPAN"; // the span in seconds: 600, 3600, 28800 or 86400
constexpr wchar_t CHART_OPEN_VALUE[] = L"CHART_OPEN"; // 1: the window was open at exit
constexpr wchar_t CHART_LEFT_VALUE[] = L"CHART_LEFT"; // the window's rectangle on the screen,
constexpr wchar_t CHART_TOP_VALUE[] = L"CHART_TOP";   // signed pixels; all four 0: never placed
constexpr wchar_t CHART_RIGHT_VALUE[] = L"CHART_RIGHT";
constexpr wchar_t CHART_BOTTOM_VALUE[] = L"CHART_BOTTOM";

struct ChartSpanChoice
{
    int seconds;
    const char* text; // UTF-8, as the drop-down list shows it
};
constexpr ChartSpanChoice CHART_SPANS[] = {
    {10 * 60, texts::SPAN_10_MINUTES},
    {60 * 60, texts::SPAN_1_HOUR},
    {8 * 60 * 60, texts::SPAN_8_HOURS},
    {24 * 60 * 60, texts::SPAN_24_HOURS},
};
constexpr int DEFAULT_CHART_SPAN = 60 * 60;

struct ChartSettings
{
    int spanSeconds = DEFAULT_CHART_SPAN;
    bool open = false;
    int left = 0, top = 0, right = 0, bottom = 0;

    bool HasPlacement() const { return right > left && bottom > top; }
};

// A stored span that is not one of the choices reads as the default.
int StoredToChartSpan(std::uint32_t stored);
// The index of a span in CHART_SPANS (the default's for an unknown span).
int ChartSpanIndex(int seconds);
