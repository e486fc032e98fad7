#include "app/tuning/EqualizerManager.h"

EqualizerManager::EqualizerManager()
{
    mDevice.SetDeviceConfig(kModelId, kOutputChannels, 14, 0, 0);
}

// The owner closes the link first; the device stops its worker here.
EqualizerManager::~EqualizerManager() = default;
