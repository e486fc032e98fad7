#pragma once
// Opens a file named by a wide path for binary reading; null on failure.
// The Windows build goes through the wide C runtime call, the native build
// through the UTF-8 form of the name.

#include <cstdio>

namespace SkinUI {

FILE* OpenWideFileForReading(const wchar_t* fileName);

} // namespace SkinUI
