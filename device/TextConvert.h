// Wide paths to narrow text in the system's ANSI code page.
#pragma once

#include <string>

std::string WideToAnsiString(const wchar_t* text);
