#pragma once

// Where the main window puts its status line and reading panels for a client size.

struct LayoutRect
{
    int x, y, width, height;
};

struct MainLayout
{
    LayoutRect statusLine, panel1, panel2;
    bool twoPanels; // false: panel 2 is not placed (panel2 is all zero) and keeps its old place
};

// frame is SM_CXDLGFRAME, statusHeight the status line's template height. Integer arithmetic
// truncating toward zero; sizes that are too small give negative heights, which are passed on as
// they are. Results beyond the int range (absurd inputs only) saturate instead of overflowing.
MainLayout ComputeMainLayout(int clientWidth, int clientHeight, int frame, int statusHeight,
                             bool twoPanels);
