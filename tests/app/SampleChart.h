#pragma once

#include "app/controls/UIEqualizer.h"

namespace AppTest {

// The skin's chart look: dark plot, the twelve channel colours.
extern const wchar_t kChartAttributes[];

// Loads a full chart as the tuning controller would: 31 bands of channel 0
// (band 12 selected, parametric), its crossover at 60 Hz / 18 kHz, and the
// curves of 16 channels with varied EQs and crossovers, all shown.
void LoadSampleChart(UIEqualizer& chart);

} // namespace AppTest
