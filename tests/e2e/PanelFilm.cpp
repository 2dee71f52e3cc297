#include "tests/e2e/PanelFilm.h"

#include "res/resource.h"
#include "tests/e2e/E2eConfig.h"

namespace
{

constexpr int SHOTS = 12;
constexpr DWORD SHOT_INTERVAL_MS = 100;
// Longer than one blink period: a blinking text is up within it.
constexpr DWORD SETTLE_TIMEOUT_MS = 1500;
// The default text colour of the panels.
constexpr COLORREF PANEL_TEXT = RGB(0, 64, 128);
// "???" or a reading in the default 90-pixel font covers far more than this; a panel whose text
// is hidden has none at all.
constexpr int TEXT_UP_PIXELS = 500;
constexpr int TEXT_GONE_PIXELS = 10;

} // namespace

PanelFilm::PanelFilm(const ProgramUnderTest& program) : program_(program)
{
    // What the program paints reaches the screen a little later (Wine hands a window's pixels to
    // the X server in batches): the film starts once every shown panel has had its text up.
    WaitUntil(
        [this]
        {
            const WindowShot shot(program_.MainWindow());
            for (int panel : {IDC_PANEL1, IDC_PANEL2})
            {
                if (program_.IsShown(panel) && Ink(shot, panel) <= TEXT_UP_PIXELS)
                    return false;
            }
            return true;
        },
        SETTLE_TIMEOUT_MS, SHOT_INTERVAL_MS / 2);
    for (int i = 0; i < SHOTS; ++i)
    {
        if (i > 0)
            Sleep(SHOT_INTERVAL_MS);
        shots_.emplace_back(program.MainWindow());
    }
}

int PanelFilm::Ink(const WindowShot& shot, int panelId) const
{
    return shot.Count(PANEL_TEXT, program_.ControlRect(panelId));
}

bool PanelFilm::Steady(int panelId) const
{
    for (const WindowShot& shot : shots_)
    {
        if (Ink(shot, panelId) <= TEXT_UP_PIXELS)
            return false;
    }
    return true;
}

bool PanelFilm::Blinking(int panelId) const
{
    bool up = false;
    bool gone = false;
    for (const WindowShot& shot : shots_)
    {
        const int ink = Ink(shot, panelId);
        up = up || ink > TEXT_UP_PIXELS;
        gone = gone || ink < TEXT_GONE_PIXELS;
    }
    return up && gone;
}

int PanelFilm::MostInk(int panelId) const
{
    int most = 0;
    for (const WindowShot& shot : shots_)
    {
        const int ink = Ink(shot, panelId);
        most = ink > most ? ink : most;
    }
    return most;
}

const WindowShot& PanelFilm::Best() const
{
    const WindowShot* best = &shots_.front();
    int bestInk = -1;
    for (const WindowShot& shot : shots_)
    {
        const int ink =
            Ink(shot, IDC_PANEL1) + (program_.IsShown(IDC_PANEL2) ? Ink(shot, IDC_PANEL2) : 0);
        if (ink > bestInk)
        {
            best = &shot;
            bestInk = ink;
        }
    }
    return *best;
}

std::string PanelFilm::InkSeries(int panelId) const
{
    std::string series = "text pixels per shot:";
    for (const WindowShot& shot : shots_)
        series += " " + std::to_string(Ink(shot, panelId));
    return series;
}
