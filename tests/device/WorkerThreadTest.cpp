// The thread holder when its own thread joins or destroys it.
#include "device/WorkerThread.h"

#include <gtest/gtest.h>

#include <atomic>

#include "tests/support/PollUntil.h"

namespace {

struct SelfJoin {
    WorkerThread* holder = nullptr;
    bool destroy = false;
    std::atomic<bool> stillJoinable{true};
    std::atomic<bool> done{false};
};

void JoinFromInside(void* argument) {
    auto* run = static_cast<SelfJoin*>(argument);
    if (run->destroy) {
        delete run->holder;  // must not end the program
        run->stillJoinable = false;
    } else {
        run->holder->Join();
        run->stillJoinable = run->holder->IsStarted();
    }
    run->done = true;
}

class WorkerThreadSelfJoin : public ::testing::TestWithParam<bool> {};

TEST_P(WorkerThreadSelfJoin, DetachesInsteadOfStayingJoinable) {
    SelfJoin run;
    run.destroy = GetParam();
    run.holder = new WorkerThread(&JoinFromInside, &run);
    ASSERT_TRUE(run.holder->Start());
    ASSERT_TRUE(sim::PollUntil([&] { return run.done.load(); }, 5000));
    EXPECT_FALSE(run.stillJoinable);
    if (!run.destroy) {
        EXPECT_FALSE(run.holder->IsStarted());
        delete run.holder;  // nothing left to join
    }
}

INSTANTIATE_TEST_SUITE_P(JoinOrDestroy, WorkerThreadSelfJoin, ::testing::Values(false, true));

}  // namespace
