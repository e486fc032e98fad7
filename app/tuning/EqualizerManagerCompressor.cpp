#include "app/tuning/EqualizerManager.h"

void EqualizerManager::SetChCompressor(int ch, uint8_t on)
{
    SceneProfile& profile = Current();
    if (ch < 0 || ch >= kOutputChannels) return;
    profile.channels[ch].compressorFlag = on;
    // The unit takes the flags of all channels in one command.
    uint8_t flags[kOutputChannels];
    for (int i = 0; i < kOutputChannels; ++i) flags[i] = profile.channels[i].compressorFlag;
    mDevice.Compressor_Ch_Ctrl(static_cast<uint8_t>(profile.scene), static_cast<uint8_t>(profile.inputSource), 0,
                               kOutputChannels - 1, flags, false);
}
