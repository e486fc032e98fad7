#include "app/tuning/EqualizerManager.h"

#include "app/tuning/ModelLog.h"
#include "base/Log.h"

namespace {

void ForwardModelLog(const char* line)
{
    LogPrintA("%s", line);
}

} // namespace

EqualizerManager::EqualizerManager()
{
    SetModelLogSink(ForwardModelLog);
    mDevice.SetDeviceConfig(kModelId, kOutputChannels, 14, 0, 0);
}

// The owner closes the link first; the status reader, a transfer and the
// waiter of a bridge or reset end before the device they talk through goes.
EqualizerManager::~EqualizerManager()
{
    StopStatusRead();
    StopTransfer();
    mOutputJobStop.store(true);
    mOutputJobWaiter.Join();
}
