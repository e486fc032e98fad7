#include "tests/e2e/kit/Steps.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <thread>

#include "tests/e2e/kit/BrisaE2E.h"

namespace e2e {

namespace {

// The last few: the step that ended a row's chain is the newest.
std::deque<std::string>& Record() {
    static std::deque<std::string> record;
    return record;
}

std::string Where(const char* file, int line) {
    const char* slash = std::strrchr(file, '/');
    return std::string(slash ? slash + 1 : file) + ":" + std::to_string(line);
}

// Every failed check of a test prints the kit steps that failed before it,
// so a log alone tells which click, wait or key of which row it was.
class FailedStepPrinter : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { Record().clear(); }
    void OnTestPartResult(const ::testing::TestPartResult& result) override {
        if (!result.failed() || Record().empty()) return;
        std::printf("%s\n", FailedSteps().c_str() + 1);
        std::fflush(stdout);
    }
};

[[maybe_unused]] const bool gPrinterAdded = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FailedStepPrinter);
    return true;
}();

}  // namespace

bool NoteFailedStep(const std::string& line) {
    Record().push_back(line);
    if (Record().size() > 6) Record().pop_front();
    return false;
}

bool Poll(const std::function<bool()>& condition, int boundMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

namespace {

std::string& Seen() {
    static std::string seen;
    return seen;
}

// What the condition last asked the probe, for a failed wait's line.
std::string SeenText() { return Seen().empty() ? "" : "; last seen " + Seen(); }

}  // namespace

void NoteSeen(const std::string& request, const std::string& reply) { Seen() = "\"" + request + "\" -> \"" + reply + "\""; }

bool WaitFor(const std::function<bool()>& condition, int boundMs, const char* file, int line) {
    Seen().clear();
    return Poll(condition, boundMs) ||
           NoteFailedStep("wait at " + Where(file, line) + ": not within " + std::to_string(boundMs) + " ms" + SeenText());
}

bool NeverWithin(const std::function<bool()>& condition, int boundMs, const char* file, int line) {
    const auto start = std::chrono::steady_clock::now();
    Seen().clear();
    if (!Poll(condition, boundMs)) return true;
    const auto after = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    return NoteFailedStep("wait at " + Where(file, line) + ": came after " + std::to_string(after.count()) + " ms" + SeenText());
}

bool WaitWhileAdvancing(const std::function<bool()>& condition, const std::function<long()>& progress, int stallMs,
                        const char* file, int line) {
    long last = progress();
    const auto start = std::chrono::steady_clock::now();
    auto moved = start;
    for (;;) {
        const long at = progress();
        Seen().clear();
        if (condition()) return true;
        const auto now = std::chrono::steady_clock::now();
        if (at != last) {
            last = at;
            moved = now;
        } else if (now - moved >= std::chrono::milliseconds(stallMs)) {
            return NoteFailedStep("wait at " + Where(file, line) + ": the work stood still at " + std::to_string(at) +
                                  " for " + std::to_string(stallMs) + " ms" + SeenText());
        }
        if (now - start >= std::chrono::milliseconds(3 * stallMs)) {
            return NoteFailedStep("wait at " + Where(file, line) + ": the work went on to " + std::to_string(at) +
                                  " past " + std::to_string(3 * stallMs) + " ms" + SeenText());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string FailedSteps() {
    std::string text;
    for (const std::string& line : Record()) text += "\n  failed step: " + line;
    Record().clear();
    return text;
}

}  // namespace e2e
