#include "base/ConsoleQueue.h"

#include <io.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <mutex>
#include <thread>

namespace {

// What the console may lag behind, what one write hands it, and how long the
// process exit lets it catch up.
constexpr size_t kQueueBytes = 64 * 1024;
constexpr size_t kWriteBytes = 4 * 1024;
constexpr size_t kWideChars = 1024;
constexpr std::chrono::seconds kExitCatchUp(1);

constexpr const char kLeftOutNote[] = "\n[console: %llu bytes left out, save.log holds them]\n";

class ConsoleQueue {
public:
    ConsoleQueue() { std::thread([this] { Run(); }).detach(); }

    void Put(const char* bytes, size_t length) {
        std::lock_guard<std::mutex> lock(mutex_);
        char note[80];
        int noteLength = 0;
        if (leftOut_ > 0) noteLength = snprintf(note, sizeof(note), kLeftOutNote, leftOut_);
        if (closing_ || noteLength + length > kQueueBytes - used_) {
            leftOut_ += length;
            return;
        }
        Append(note, static_cast<size_t>(noteLength));
        Append(bytes, length);
        leftOut_ = 0;
        ready_.notify_one();
    }

    // At exit: a second to catch up, then nothing more. A console that takes
    // no more (a hung or slow console window) must not hold the exit, so the
    // process may end the writer inside a write: that holds no lock of the
    // runtime's, whose own closing of standard output would wait for it.
    void Close() {
        std::unique_lock<std::mutex> lock(mutex_);
        drained_.wait_for(lock, kExitCatchUp, [this] { return used_ == 0; });
        closing_ = true;
    }

private:
    void Append(const char* bytes, size_t length) {
        for (size_t done = 0; done < length;) {
            size_t tail = (head_ + used_) % kQueueBytes;
            size_t n = std::min(length - done, kQueueBytes - tail);
            std::copy(bytes + done, bytes + done + n, ring_ + tail);
            used_ += n;
            done += n;
        }
    }

    // The bytes between head_ and head_ + used_ are the writer's alone until
    // it gives them back, so it writes them with the queue open to callers.
    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            ready_.wait(lock, [this] { return used_ > 0 || closing_; });
            if (closing_) return;
            size_t n = std::min({used_, kQueueBytes - head_, kWriteBytes});
            const char* from = ring_ + head_;
            lock.unlock();
            // Past the runtime's stream, whose lock the exit would wait for.
            DWORD written = 0;
            WriteFile(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdout))), from, static_cast<DWORD>(n), &written,
                      nullptr);
            lock.lock();
            head_ = (head_ + n) % kQueueBytes;
            used_ -= n;
            if (used_ == 0) drained_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    std::condition_variable drained_;
    size_t head_ = 0;
    size_t used_ = 0;
    unsigned long long leftOut_ = 0;
    bool closing_ = false;
    char ring_[kQueueBytes];
};

// Never destroyed, so a log entry from a static destructor still finds it;
// the exit closes it first.
ConsoleQueue& Queue() {
    static ConsoleQueue* queue = [] {
        ConsoleQueue* made = new ConsoleQueue;
        atexit([] { Queue().Close(); });
        return made;
    }();
    return *queue;
}

}  // namespace

void ConsolePut(const char* bytes, size_t length) { Queue().Put(bytes, length); }

void ConsolePutWide(const wchar_t* text, size_t length) {
    char bytes[kWideChars * MB_LEN_MAX];
    size_t used = 0;
    for (size_t i = 0; i < std::min(length, kWideChars); ++i) {
        mbstate_t state{};
        size_t n = wcrtomb(bytes + used, text[i], &state);
        if (n == static_cast<size_t>(-1)) {
            bytes[used] = '?';
            n = 1;
        }
        used += n;
    }
    Queue().Put(bytes, used);
}
