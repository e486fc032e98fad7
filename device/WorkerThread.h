// Runs one function with one argument on its own thread; joined on Join or
// destruction.
#pragma once

#include <thread>

class WorkerThread {
public:
    using Entry = void (*)(void* argument);

    WorkerThread(Entry entry, void* argument) : mEntry(entry), mArgument(argument) {}
    ~WorkerThread() { Join(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // False when the thread could not be started or already runs.
    bool Start();
    // Waits for the thread without a time limit; nothing when none runs.
    // Called on the thread itself it detaches it instead.
    void Join();
    bool IsStarted() const { return mThread.joinable(); }

private:
    Entry mEntry;
    void* mArgument;
    std::thread mThread;
};
