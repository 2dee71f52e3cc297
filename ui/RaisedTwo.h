#pragma once

// Where a reading panel draws a value whose unit ends in a raised "2" (W/m2, umol/sm2): the text
// without its "2" starts where the whole text, centred, would start, and the "2" goes into a box
// near the end of the whole text, its centre a quarter of the text height above the value's.

struct BoxRect
{
    int left, top, right, bottom;
};

struct RaisedTwoBoxes
{
    BoxRect main;   // for the shortened text, drawn left-aligned and vertically centred
    BoxRect raised; // for the "2", drawn centred
};

// textWidth and textHeight are the measured size of the whole text. Integer arithmetic truncating
// toward zero; results beyond the int range (absurd inputs only) saturate instead of overflowing.
RaisedTwoBoxes ComputeRaisedTwoBoxes(const BoxRect& client, int textWidth, int textHeight);
