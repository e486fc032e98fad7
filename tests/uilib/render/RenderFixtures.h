#pragma once

#include <cstdint>
#include <vector>
#include <windows.h>

namespace SkinUITest {

// Bytes of a resource linked into the test program; empty when missing.
std::vector<uint8_t> ResourceBytes(const wchar_t* name);

// Opens the test image archive as the skin archive (once per process); false when it would not open.
bool UseRenderArchive();

// Installs the monospaced test font (once per process); its face name, null when not installed.
const wchar_t* InstallTestFont();

} // namespace SkinUITest
