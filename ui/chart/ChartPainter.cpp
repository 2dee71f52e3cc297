#include "ui/chart/ChartPainter.h"

#include "ui/chart/ChartPlan.h"
#include "res/Texts.h"
#include "toolkit/Gdi.h"
#include "toolkit/TextConv.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
constexpr int MARGIN = 8;
constexpr int TICK = 4;
constexpr int LABEL_GAP = 4;
constexpr int LEGEND_LINE = 40; // length of a line sample in the legend: two dashes

COLORREF Blend(COLORREF a, COLORREF b, int percentOfA)
{
    const auto mix = [&](int x, int y) { return (x * percentOfA + y * (100 - percentOfA)) / 100; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
               mix(GetBValue(a), GetBValue(b)));
}

enum class Align
{
    Left,
    Centre,
    Right,
};

class Canvas
{
public:
    Canvas(HDC dc, const ChartLook& look) : dc_(dc), look_(look)
    {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_, &metrics);
        textHeight_ = metrics.tmHeight;
    }
    int TextHeight() const { return textHeight_; }
    int Width(const std::string& text) const
    {
        const std::wstring wide = Utf8ToWide(text);
        SIZE size{};
        GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
        return size.cx;
    }
    // Text with its left, centre or right at x, vertically centred on y.
    void Text(const std::string& text, int x, int y, Align align) const
    {
        const std::wstring wide = Utf8ToWide(text);
        const int width = Width(text);
        const int left = align == Align::Left     ? x
                         : align == Align::Centre ? x - width / 2
                                                  : x - width;
        TextOutW(dc_, left, y - textHeight_ / 2, wide.c_str(), static_cast<int>(wide.size()));
    }
    void Line(int x1, int y1, int x2, int y2, COLORREF colour) const
    {
        const GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
        const ScopedSelectObject selected(dc_, pen.Get());
        MoveToEx(dc_, x1, y1, nullptr);
        LineTo(dc_, x2, y2);
    }
    HDC Dc() const { return dc_; }
    const ChartLook& Look() const { return look_; }

private:
    HDC dc_;
    ChartLook look_;
    int textHeight_ = 0;
};

// Channel 1 solid and two pixels thick (drawn twice, a pixel apart), channel 2 dashed and one
// pixel thin, both in the text colour. Pens are one pixel wide: a wider pen costs tens of
// milliseconds a line of a few thousand points in some GDI implementations (Wine's).
GdiObject<HPEN> SeriesPen(int channel, COLORREF colour)
{
    return GdiObject<HPEN>(CreatePen(channel == 0 ? PS_SOLID : PS_DASH, 1, colour));
}

void StrokeSeries(HDC dc, int channel, std::vector<POINT>& points)
{
    Polyline(dc, points.data(), static_cast<int>(points.size()));
    if (channel != 0)
        return;
    for (POINT& p : points)
        ++p.y;
    Polyline(dc, points.data(), static_cast<int>(points.size()));
}

std::string ChannelName(int channel)
{
    char name[32];
    std::snprintf(name, sizeof name, texts::CHANNEL, channel + 1);
    return name;
}

std::string DateText(std::int64_t second, UtcOffsetFn offset)
{
    const ClockTime t = LocalClockAt(second, offset);
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", t.day, t.month, t.year);
    return text;
}

// The line of one series: joined columns make one polyline through each column's first, lowest,
// highest and last value, so that every extreme is touched and no gap is crossed.
void DrawSeries(const Canvas& canvas, const ChartSeries& series, const ValueScale& scale,
                const RECT& plot)
{
    const GdiObject<HPEN> pen = SeriesPen(series.channel, canvas.Look().text);
    const ScopedSelectObject selected(canvas.Dc(), pen.Get());
    std::vector<POINT> points;
    points.reserve(series.columns.size() * 4);
    const auto flush = [&]
    {
        if (points.size() == 1) // a lone second: a short dash, so that it can be seen
            points.push_back({points[0].x + 1, points[0].y});
        if (!points.empty())
            StrokeSeries(canvas.Dc(), series.channel, points);
        points.clear();
    };
    const auto add = [&](int x, float value)
    {
        const POINT p{x, ValueToY(scale, value, plot.top, plot.bottom - 1)};
        if (points.empty() || points.back().x != p.x || points.back().y != p.y)
            points.push_back(p);
    };
    const ColumnExtent* previous = nullptr;
    for (size_t i = 0; i < series.columns.size(); ++i)
    {
        const ColumnExtent& column = series.columns[i];
        if (!column.any)
            continue;
        if (previous && !Joined(*previous, column))
            flush();
        const int x = plot.left + static_cast<int>(i);
        add(x, column.first);
        add(x, column.first <= column.last ? column.low : column.high);
        add(x, column.first <= column.last ? column.high : column.low);
        add(x, column.last);
        previous = &column;
    }
    flush();
}

void DrawLegend(const Canvas& canvas, const ChartPlan& plan, int right, int y)
{
    int x = right;
    for (auto series = plan.series.rbegin(); series != plan.series.rend(); ++series)
    {
        const std::string name = ChannelName(series->channel);
        x -= canvas.Width(name);
        canvas.Text(name, x, y, Align::Left);
        x -= LABEL_GAP + LEGEND_LINE;
        const GdiObject<HPEN> pen = SeriesPen(series->channel, canvas.Look().text);
        const ScopedSelectObject selected(canvas.Dc(), pen.Get());
        std::vector<POINT> sample{{x, y}, {x + LEGEND_LINE, y}};
        StrokeSeries(canvas.Dc(), series->channel, sample);
        x -= 3 * LABEL_GAP;
    }
}

int LabelsWidth(const Canvas& canvas, const ChartAxis& axis)
{
    int width = canvas.Width(TextOf(axis.unit).label);
    for (double tick : axis.scale.ticks)
        width = std::max(width, canvas.Width(TickText(tick, axis.scale.decimals)));
    return width;
}
} // namespace

void PaintChart(HDC dc, const RECT& area, const ChartHistory& history, int spanSeconds,
                const ChartLook& look, HFONT font, UtcOffsetFn offset)
{
    const BrushHandle background(CreateSolidBrush(look.background));
    FillRect(dc, &area, background.Get());
    const ScopedSelectObject selectedFont(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, look.text);
    const Canvas canvas(dc, look);
    const int h = canvas.TextHeight();
    const COLORREF grid = Blend(look.text, look.background, 18);
    const COLORREF frame = Blend(look.text, look.background, 45);

    // Rows: the legend with the units over the scales, the plot, the clock times.
    const int headerY = area.top + MARGIN + h / 2;
    RECT plot{area.left + MARGIN, area.top + MARGIN + h + LABEL_GAP + h / 2, area.right - MARGIN,
              area.bottom - MARGIN - h - TICK - LABEL_GAP};
    const int plotHeight = static_cast<int>(plot.bottom - plot.top);
    ChartPlan plan = PlanChart(history, spanSeconds, std::max(2, plotHeight / (2 * h + 4)),
                               std::max(1, static_cast<int>(plot.right - plot.left)));
    if (!plan.axes.empty())
        plot.left += LabelsWidth(canvas, plan.axes[0]) + TICK + LABEL_GAP;
    if (plan.axes.size() > 1)
        plot.right -= LabelsWidth(canvas, plan.axes[1]) + TICK + LABEL_GAP;
    else // room for half of the newest clock time, centred on the right edge
        plot.right -= canvas.Width("00:00") / 2;
    if (plot.right - plot.left < 2 || plot.bottom - plot.top < 2)
        return;
    NarrowSeries(plan, static_cast<int>(plot.right - plot.left));

    // The value scales: grid lines of the left one, ticks and labels of both, the unit on top.
    for (size_t a = 0; a < plan.axes.size(); ++a)
    {
        const ChartAxis& axis = plan.axes[a];
        const bool left = a == 0;
        const int x = left ? plot.left : plot.right - 1;
        for (double tick : axis.scale.ticks)
        {
            const int y = ValueToY(axis.scale, tick, plot.top, plot.bottom - 1);
            if (left)
                canvas.Line(plot.left, y, plot.right, y, grid);
            canvas.Line(left ? x - TICK : x, y, left ? x : x + TICK, y, frame);
            canvas.Text(TickText(tick, axis.scale.decimals),
                        left ? x - TICK - LABEL_GAP : x + TICK + LABEL_GAP, y,
                        left ? Align::Right : Align::Left);
        }
        canvas.Text(TextOf(axis.unit).label, left ? x - TICK - LABEL_GAP : x + TICK + LABEL_GAP,
                    headerY, left ? Align::Right : Align::Left);
    }

    // The clock times: a grid line and a label at each round time.
    const int seconds = static_cast<int>(plan.last - plan.first + 1);
    if (seconds > 0)
    {
        const int labelWidth = canvas.Width("00:00") + 4 * LABEL_GAP;
        const int width = static_cast<int>(plot.right - plot.left);
        for (const TimeTick& tick :
             TimeTicks(plan.first, plan.last, std::max(1, width / labelWidth), offset))
        {
            const int x = plot.left + static_cast<int>((2 * (tick.second - plan.first) + 1) *
                                                       width / (2 * std::int64_t{seconds}));
            canvas.Line(x, plot.top, x, plot.bottom, grid);
            canvas.Line(x, plot.bottom, x, plot.bottom + TICK, frame);
            canvas.Text(tick.label, x, plot.bottom + TICK + LABEL_GAP + h / 2, Align::Centre);
        }
        // The date(s) in view, top left over the plot.
        const std::string first = DateText(plan.first, offset), last = DateText(plan.last, offset);
        canvas.Text(first == last ? last : first + " – " + last,
                    plot.left + (plan.axes.empty() ? 0 : LABEL_GAP), headerY, Align::Left);
    }

    const BrushHandle frameBrush(CreateSolidBrush(frame));
    FrameRect(dc, &plot, frameBrush.Get());
    if (plan.series.empty())
    {
        canvas.Text(texts::CHART_NO_DATA, (plot.left + plot.right) / 2,
                    (plot.top + plot.bottom) / 2, Align::Centre);
    }
    else
    {
        for (const ChartSeries& series : plan.series)
            DrawSeries(canvas, series, plan.axes[static_cast<size_t>(series.axis)].scale, plot);
        DrawLegend(canvas, plan, plot.right - LABEL_GAP, headerY);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}
