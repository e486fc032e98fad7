#include "device/WorkerThread.h"

#include <future>
#include <system_error>

bool WorkerThread::Start() {
    if (mThread.joinable() || !mEntry) return false;
    // The entry runs only once the holder has the thread: a worker that joins
    // its own holder at once must find itself there and detach.
    std::promise<void> stored;
    std::future<void> holderReady = stored.get_future();
    // The toolchain reports a failed thread creation by exception; callers get false.
    try {
        mThread = std::thread([this, ready = std::move(holderReady)]() mutable {
            ready.wait();
            mEntry(mArgument);
        });
    } catch (const std::system_error&) {
        return false;
    }
    stored.set_value();
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
