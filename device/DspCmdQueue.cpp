#include "device/DspCmdQueue.h"

#include <new>

struct DspCmdQueue::Block {
    DspCmdEntry slots[kBlockSlots];
    // Producer and consumer indices on their own cache lines.
    alignas(64) std::atomic<uint32_t> written{0};
    alignas(64) uint32_t taken = 0;
    std::atomic<Block*> next{nullptr};
};

DspCmdQueue::DspCmdQueue() : mHead(new Block), mTail(mHead) {}

DspCmdQueue::~DspCmdQueue() {
    Block* block = mHead;
    while (block) {
        Block* next = block->next.load(std::memory_order_acquire);
        delete block;
        block = next;
    }
}

bool DspCmdQueue::Push(const DspCmdEntry& entry) {
    uint32_t index = mTail->written.load(std::memory_order_relaxed);
    if (index == kBlockSlots) {
        Block* block = new (std::nothrow) Block;
        if (!block) return false;
        block->slots[0] = entry;
        block->written.store(1, std::memory_order_relaxed);
        mTail->next.store(block, std::memory_order_release);
        mTail = block;
        return true;
    }
    mTail->slots[index] = entry;
    mTail->written.store(index + 1, std::memory_order_release);
    return true;
}

bool DspCmdQueue::TryPop(DspCmdEntry* entry) {
    for (;;) {
        Block* block = mHead;
        if (block->taken < block->written.load(std::memory_order_acquire)) {
            *entry = block->slots[block->taken++];
            return true;
        }
        if (block->taken < kBlockSlots) return false;
        Block* next = block->next.load(std::memory_order_acquire);
        if (!next) return false;
        // The producer has moved on to the next block and never touches this one again.
        mHead = next;
        delete block;
    }
}
