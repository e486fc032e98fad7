// Unbounded FIFO of queued commands for exactly one producer thread and one
// consumer thread, without locks: blocks of 512 slots linked as they fill.
#pragma once

#include <atomic>
#include <cstdint>

struct DspCmdEntry {
    uint8_t type = 0;
    uint8_t subcommand = 0;
    uint8_t optype = 0;
    uint8_t* payload = nullptr;  // heap block (new[]) owned by the entry
    uint8_t length = 0;
};

class DspCmdQueue {
public:
    static constexpr uint32_t kBlockSlots = 512;

    DspCmdQueue();
    ~DspCmdQueue();  // frees the blocks, not the payloads still queued
    DspCmdQueue(const DspCmdQueue&) = delete;
    DspCmdQueue& operator=(const DspCmdQueue&) = delete;

    // Producer side. False when no block could be allocated (the entry is not queued).
    bool Push(const DspCmdEntry& entry);
    // Consumer side. False when the queue is empty.
    bool TryPop(DspCmdEntry* entry);

private:
    struct Block;
    Block* mHead;  // consumer's block
    Block* mTail;  // producer's block
};
