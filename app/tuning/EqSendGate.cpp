#include "app/tuning/EqSendGate.h"

bool EqSendGate::Due(bool release, uint64_t now)
{
    if (!release && now - mLastSend <= kIntervalMs) return false;
    mLastSend = now;
    return true;
}
