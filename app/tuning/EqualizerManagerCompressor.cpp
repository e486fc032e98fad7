#include "app/tuning/EqualizerManager.h"

#include "base/Log.h"

void EqualizerManager::SetChCompressor(int ch, uint8_t on)
{
    SceneProfile& profile = Current();
    if (ch < 0 || ch >= kOutputChannels) return;
    LogPrintW(L"channel %d compressor seleted %d\n", ch, on);
    profile.channels[ch].compressorFlag = on;
    const uint8_t flag = profile.channels[ch].compressorFlag;
    const uint8_t channel = static_cast<uint8_t>(ch);
    mDevice.Compressor_Ch_Ctrl(static_cast<uint8_t>(profile.scene), 0, channel, channel, &flag, false);
}
