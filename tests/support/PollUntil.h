// Waiting in a test for what another thread (the device's worker, the
// simulated unit's restart) brings about.
#pragma once

#include <chrono>
#include <thread>

namespace sim {

// Polls every millisecond until pred holds; false after limitMs.
template <typename Pred>
bool PollUntil(Pred pred, int limitMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace sim
