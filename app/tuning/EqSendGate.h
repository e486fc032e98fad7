// Keeps a drag on the EQ chart from flooding the unit: while dragging, a
// send is due at most once per interval; a release always sends.
#pragma once

#include <cstdint>

class EqSendGate {
public:
    static const uint64_t kIntervalMs = 500;

    // True when the sends of this move are due; a due move restarts the
    // interval at now.
    bool Due(bool release, uint64_t now);

private:
    uint64_t mLastSend = 0;
};
