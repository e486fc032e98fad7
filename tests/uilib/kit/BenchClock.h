// Performance-counter time for the UI benchmarks.
#pragma once

#include <windows.h>

namespace SkinUITest {

inline double MillisecondsOf(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double MillisecondsSince(LARGE_INTEGER from)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return MillisecondsOf(from, now);
}

} // namespace SkinUITest
