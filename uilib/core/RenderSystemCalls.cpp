#include "uilib/core/RenderSystemCalls.h"

#include "uilib/core/SystemEntry.h"

namespace SkinUI {

AlphaBlendFunction SystemAlphaBlend()
{
    static const AlphaBlendFunction entry = SystemEntry<AlphaBlendFunction>(L"msimg32.dll", "AlphaBlend");
    return entry;
}

GradientFillFunction SystemGradientFill()
{
    static const GradientFillFunction entry = SystemEntry<GradientFillFunction>(L"msimg32.dll", "GradientFill");
    return entry;
}

} // namespace SkinUI
