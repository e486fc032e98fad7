#include "app/tuning/EqualizerManager.h"

#include "base/Log.h"

// Menu actions whose windows and edits come with their own work: each is
// reached from its menu row and logs that it was.
void EqualizerManager::ResetMcuFactoryDefault()
{
    LogPrintW(L"EqualizerManager::ResetMcuFactoryDefault\n");
}
