#include "app/tuning/EqualizerManager.h"

#include "app/windows/MixerWnd.h"
#include "base/Log.h"

// The advance menu's mixer row: the mixer of the live source over the main window.
void EqualizerManager::ShowMixerWnd()
{
    LogPrintW(L"EqualizerManager::ShowMixerWnd\n");
    OpenMixerWnd(mMainWnd, *this);
}
