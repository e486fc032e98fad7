// Channel delays are kept in milliseconds; the user may see and type them in
// centimetres or inches of sound travel instead.
#pragma once

enum DelayUnit { kDelayMs = 0, kDelayCm = 1, kDelayIn = 2 };

constexpr float kMaxDelayMs = 15.0f;
// The unit's full 15 ms in each display unit.
constexpr int kMaxDelayCm = 519;
constexpr int kMaxDelayIn = 204;

// Whole display steps in 15 ms for cm and inches; 0 for ms (and any other
// index, which shows milliseconds).
int DelayStepsPerRange(int unit);
// The delay in [0, 15] ms; in cm or inches moved onto the nearest whole step.
float QuantizeDelay(int unit, float ms);
// The delay in whole cm or inches, rounded half away from zero.
int DelayInSteps(int unit, float ms);
// A typed value in the unit: below 0 counts as 0, cm and inches are whole
// steps (truncated), everything clamped to the unit's range.
float ParseDelay(int unit, float value);
