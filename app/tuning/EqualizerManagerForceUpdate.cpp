#include "app/tuning/EqualizerManager.h"

#include "base/Log.h"

// The forced update window comes with the firmware work; until then the
// offer reaches the controller and stops here.
void EqualizerManager::ForceUpdate()
{
    LogPrintW(L"EqualizerManager::ForceUpdate\n");
}

void EqualizerManager::ResumeForcedUpdate()
{
    LogPrintW(L"EqualizerManager::ResumeForcedUpdate\n");
}
