#include "device/WorkerThread.h"

#include <system_error>

bool WorkerThread::Start() {
    if (mThread.joinable() || !mEntry) return false;
    // The toolchain reports a failed thread creation by exception; callers get false.
    try {
        mThread = std::thread(mEntry, mArgument);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void WorkerThread::Join() {
    if (!mThread.joinable()) return;
    // A thread cannot wait for itself; a holder left joinable would end the
    // program when destroyed, so the thread runs on detached.
    if (mThread.get_id() == std::this_thread::get_id()) {
        mThread.detach();
        return;
    }
    mThread.join();
}
