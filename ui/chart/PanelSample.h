#pragma once

// What a reading panel shows now, as the chart records it: a good value only while the panel is
// shown with a reading and without an error (a blinking panel has none worth keeping).

#include "ui/chart/ChartHistory.h"

class CReadingPanel;

ChannelSample SampleOf(const CReadingPanel& panel);
