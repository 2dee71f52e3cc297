#pragma once

// A short film of the main window: shots taken 100 ms apart over 1.2 s, a little more than two
// blink periods of the panels (500 ms on, 500 ms off), from the moment the panels' text is up. It
// tells a panel whose text stays up from one that blinks, and keeps the shot in which the most text
// is up, for people to look at.

#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/WindowShot.h"

#include <string>
#include <vector>

class PanelFilm
{
public:
    explicit PanelFilm(const ProgramUnderTest& program);

    // The panel's text is up in every shot.
    bool Steady(int panelId) const;
    // The text is up in some shots and gone in others.
    bool Blinking(int panelId) const;
    // Pixels of the panel's text in the shot where it has the most.
    int MostInk(int panelId) const;
    const WindowShot& Best() const;
    // The panel's text pixels shot by shot, for failure messages.
    std::string InkSeries(int panelId) const;

private:
    int Ink(const WindowShot& shot, int panelId) const;

    const ProgramUnderTest& program_;
    std::vector<WindowShot> shots_;
};
