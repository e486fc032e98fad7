#pragma once

#include <windows.h>

namespace SkinUI {

// Blend and gradient entry points of "msimg32.dll", looked up once per process.
typedef BOOL(WINAPI* AlphaBlendFunction)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
typedef BOOL(WINAPI* GradientFillFunction)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

AlphaBlendFunction SystemAlphaBlend();
GradientFillFunction SystemGradientFill();

} // namespace SkinUI
