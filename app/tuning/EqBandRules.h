// The arithmetic of EQ band editing: the frequency stepping grid, the Q the
// unit holds and its steps, and the flat test. Free of Win32 so that it is
// tested natively.
#pragma once

#include "app/tuning/EqBand.h"

constexpr int kEqMinFreq = 20;
constexpr int kEqMaxFreq = 20000;
constexpr float kEqMinQ = 0.5f;
constexpr float kEqMaxQ = 9.0f;

// The next point of a 201-point logarithmic grid from 20 Hz to 20 kHz; a
// step that rounds back to f takes two grid points.
int NextEqFrequency(int f, bool up);

float ClampEqQ(float q);

// The Q the unit holds for q, which carries tenths only: the nearest tenth
// within [0.5, 9.0].
float EqUnitQ(double q);

// The next tenth above or below q within [0.5, 9.0]; false when q is
// already at that end.
bool StepEqQ(float q, bool up, float* out);

// True for a gain so close to 0 that it counts as none.
bool IsZeroGain(float gain);

// True when no band carries a gain; a band of a tenth of a dB still counts.
bool IsEqFlat(const EqBand* bands, int count);

// Tenths of a dB of a gain (a band's or a channel's), rounded: -5.9 dB is -59, not -58.
int GainTenths(float gain);
