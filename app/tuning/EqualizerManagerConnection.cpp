#include "app/tuning/EqualizerManager.h"

#include "base/Log.h"

// The connection and the status read come with the connection work; until
// then the start-up call reaches the controller and stops here.
void EqualizerManager::ConnectDevice(bool showFailure)
{
    LogPrintW(L"EqualizerManager::ConnectDevice %d\n", showFailure ? 1 : 0);
}

void EqualizerManager::DisconnectDevice()
{
    LogPrintW(L"EqualizerManager::DisconnectDevice\n");
    mDevice.CloseHIDDevice(true);
}
