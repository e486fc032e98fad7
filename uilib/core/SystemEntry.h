#pragma once
// Functions of system libraries looked up at run time, for calls older
// systems may not have.

#include <windows.h>

namespace SkinUI {

// The function `name` of `module` (loaded when it is not yet, and kept for the
// life of the process) as the function type Fn; null when either is missing.
template <typename Fn>
Fn SystemEntry(const wchar_t* module, const char* name)
{
    HMODULE handle = GetModuleHandleW(module);
    if (handle == nullptr) handle = LoadLibraryW(module);
    FARPROC proc = handle != nullptr ? GetProcAddress(handle, name) : nullptr;
    // Through the generic function type, which the compiler accepts silently.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

} // namespace SkinUI
