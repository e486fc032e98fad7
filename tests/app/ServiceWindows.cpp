#include "ServiceWindows.h"

#include "app/tuning/EqualizerManager.h"
#include "app/windows/CompressorsOnWnd.h"
#include "app/windows/MemWrWnd.h"
#include "app/windows/MixerWnd.h"
#include "app/windows/NoiseThresholdWnd.h"

using SkinUI::WindowImplBase;

namespace dialogs {

const ServiceWindowKind kServiceWindows[4] = {
    {L"xml_mixer",
     [](EqualizerManager& c) -> WindowImplBase* {
         return new CMixerWnd(c.Current().inputSource, c);
     },
     L"MixerWnd"},
    {L"xml_compressors_on", [](EqualizerManager& c) -> WindowImplBase* { return new CCompressorsOnWnd(c); },
     L"CompressorsOnWnd"},
    {L"xml_noise_threshold", [](EqualizerManager& c) -> WindowImplBase* { return new CNoiseThresholdWnd(c); },
     L"msgwnd"},
    {L"xml_mem_wr", [](EqualizerManager& c) -> WindowImplBase* { return new CMemWrWnd(c.Device()); }, L"memwrwnd"},
};

WindowImplBase* CreateServiceWindow(const ServiceWindowKind& kind, EqualizerManager& controller)
{
    WindowImplBase* window = kind.make(controller);
    if (window->CreateNativeWindow(nullptr, kind.title, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW) == nullptr)
        return nullptr;
    return window;
}

} // namespace dialogs
