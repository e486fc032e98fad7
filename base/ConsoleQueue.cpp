#include "base/ConsoleQueue.h"

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
// process exit lets it catch up before it waits for one write at most.
constexpr size_t kQueueBytes = 64 * 1024;
constexpr size_t kWriteBytes = 4 * 1024;
constexpr size_t kWideChars = 1024;
constexpr std::chrono::seconds kExitCatchUp(1);

constexpr const char kLeftOutNote[] = "\n[console: %llu bytes left out, save.log holds them]\n";

class ConsoleQueue {
public:
    ConsoleQueue() : writer_([this] { Run(); }) {}

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

    // At exit: the writer must not be in the middle of a write when the
    // process ends its threads, or the runtime's own closing of standard
    // output would wait for a lock nobody can give back.
    void Close() {
        std::unique_lock<std::mutex> lock(mutex_);
        drained_.wait_for(lock, kExitCatchUp, [this] { return used_ == 0; });
        closing_ = true;
        ready_.notify_one();
        lock.unlock();
        writer_.join();
        lock.lock();
        const unsigned long long left = leftOut_ + used_;
        lock.unlock();
        if (left > 0) fprintf(stdout, kLeftOutNote, left);
        fflush(stdout);
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
            fwrite(from, 1, n, stdout);
            fflush(stdout);
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
    std::thread writer_;
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
