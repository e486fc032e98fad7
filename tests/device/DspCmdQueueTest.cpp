#include "device/DspCmdQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

DspCmdEntry Entry(uint32_t n) {
    DspCmdEntry e;
    e.type = 1;
    e.subcommand = static_cast<uint8_t>(n);
    e.optype = static_cast<uint8_t>(n >> 8);
    e.length = static_cast<uint8_t>(n >> 16);
    return e;
}

uint32_t Number(const DspCmdEntry& e) {
    return e.subcommand | (e.optype << 8) | (static_cast<uint32_t>(e.length) << 16);
}

TEST(DspCmdQueue, EmptyQueueReportsEmpty) {
    DspCmdQueue queue;
    DspCmdEntry e;
    EXPECT_FALSE(queue.TryPop(&e));
}

TEST(DspCmdQueue, KeepsOrderAcrossSeveralBlocks) {
    DspCmdQueue queue;
    const uint32_t count = 3 * DspCmdQueue::kBlockSlots + 17;
    for (uint32_t i = 0; i < count; ++i) ASSERT_TRUE(queue.Push(Entry(i)));
    DspCmdEntry e;
    for (uint32_t i = 0; i < count; ++i) {
        ASSERT_TRUE(queue.TryPop(&e));
        ASSERT_EQ(i, Number(e));
    }
    EXPECT_FALSE(queue.TryPop(&e));
    // Usable again after running dry at a block boundary.
    ASSERT_TRUE(queue.Push(Entry(5)));
    ASSERT_TRUE(queue.TryPop(&e));
    EXPECT_EQ(5u, Number(e));
}

TEST(DspCmdQueue, OneProducerOneConsumerSeeEveryEntryInOrder) {
    DspCmdQueue queue;
    const uint32_t count = 200000;
    std::atomic<bool> produced{false};
    uint32_t refused = 0;
    std::thread producer([&] {
        for (uint32_t i = 0; i < count; ++i) refused += queue.Push(Entry(i)) ? 0 : 1;
        produced.store(true);
    });
    uint32_t expected = 0;
    bool inOrder = true;
    // Until every entry came, or none is left once the producer is done.
    for (DspCmdEntry e; expected < count;) {
        const bool done = produced.load();
        if (queue.TryPop(&e)) {
            inOrder = inOrder && Number(e) == expected;
            ++expected;
        } else if (done) {
            break;
        } else {
            std::this_thread::yield();
        }
    }
    producer.join();
    EXPECT_EQ(0u, refused);
    EXPECT_EQ(count, expected);
    EXPECT_TRUE(inOrder);
    DspCmdEntry e;
    EXPECT_FALSE(queue.TryPop(&e));
}

}  // namespace
