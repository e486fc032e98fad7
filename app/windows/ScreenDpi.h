// The program's DPI, chosen from the size of the widest screen rather than
// from the system's DPI setting.
#pragma once

#include <windows.h>

// The DPI for a screen of width x height pixels: the smaller of width / 1536
// and height / 760 picks 77, 96, 120, 144, 192 or 288.
int DpiForScreenSize(int width, int height);

// Index of the widest of count monitors (the earlier one on a tie). Monitor
// 0 is the main screen, monitor i the (i-1)-th of the listed others, sorted
// by left then top edge; monitors beyond the list are empty.
int WidestMonitor(const RECT& mainScreen, const RECT* others, int otherCount, int count, RECT* chosen);

// Every window gives this to its paint manager when created.
int GetScreenDpi();
