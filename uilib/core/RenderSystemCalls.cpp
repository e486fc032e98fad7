#include "uilib/core/RenderSystemCalls.h"

namespace SkinUI {

namespace {

FARPROC Msimg32Entry(const char* name)
{
    HMODULE module = GetModuleHandleW(L"msimg32.dll");
    if (module == nullptr) module = LoadLibraryW(L"msimg32.dll");
    return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

} // namespace

AlphaBlendFunction SystemAlphaBlend()
{
    static const AlphaBlendFunction entry = reinterpret_cast<AlphaBlendFunction>(
        reinterpret_cast<void (*)()>(Msimg32Entry("AlphaBlend")));
    return entry;
}

GradientFillFunction SystemGradientFill()
{
    static const GradientFillFunction entry = reinterpret_cast<GradientFillFunction>(
        reinterpret_cast<void (*)()>(Msimg32Entry("GradientFill")));
    return entry;
}

} // namespace SkinUI
