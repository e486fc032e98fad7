// The simulated unit with its loader side: upgrade mode, the restart from
// the application into the loader and back, the image blocks with their
// acknowledgements, and the faults a test can switch on.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "tests/support/SimUnitModel.h"

namespace sim {

// How the unit answers "enter upgrade mode" (MCU 01 and A0).
enum class EnterAnswer { Ready, NotReady, Silent };

struct LoaderFaults {
    EnterAnswer enter = EnterAnswer::Ready;
    bool refuseStart = false;  // the upgrade start is answered "not ready"
    // This block (counted from 0) is answered "not ready"; with
    // readyAfterNotReady the unit sends "ready" for it in a report of its own
    // right after.
    int notReadyBlock = -1;
    bool readyAfterNotReady = true;
    // At this block the unit drops off the bus without answering and stays away.
    int vanishAtBlock = -1;
};

// An image as the blocks wrote it, by their offsets.
struct ReceivedImage {
    std::vector<uint8_t> startParams;
    std::vector<uint8_t> bytes;  // grows to the highest byte written
    std::vector<uint32_t> blockOffsets;
    bool finished = false;
};

class LoaderUnitModel : public UnitModel {
public:
    // Images above this size are refused block by block.
    static constexpr uint32_t kMaxImageBytes = 0x100000;
    // The firmware a finished MCU image leaves running: the version the
    // program carries.
    static constexpr uint8_t kImageMain = 1;
    static constexpr uint8_t kImageSlave = 25;

    explicit LoaderUnitModel(SimUnit& unit);

    void SetFaults(const LoaderFaults& faults);
    // How long the restart into the loader (after "enter upgrade mode" in
    // the application) and back (after an MCU image's finish) keeps the unit
    // off the bus.
    void SetLoaderRestartDelay(unsigned delayMs);
    // How long the unit takes over each image block before it answers.
    void SetBlockPace(unsigned delayMs);

    void OnCommand(const Frame& frame, SimUnit& unit) override;

    ReceivedImage McuImage();
    ReceivedImage DspImage();
    bool FlashErased();
    // Restarts between application and loader so far.
    int LoaderRestarts();

protected:
    void HandleMcu(const Frame& frame) override;
    void HandleFlash(const Frame& frame) override;

private:
    // Answers "enter upgrade mode" as the faults say; true when it agreed.
    bool AnswerEnter();
    void StartImage(ReceivedImage* image, bool allowed, const Frame& frame);
    // McuBlock: [offset BE32, 32 bytes]; DspBlock: [offset BE32, n, n bytes].
    void Block(ReceivedImage* image, const Frame& frame, bool dspLayout);
    void RestartInto(bool loader);

    // Taken inside the handlers (after the model's own lock) and by the accessors.
    std::mutex mLoaderMutex;
    SimUnit& mSimUnit;
    LoaderFaults mFaults;
    unsigned mRestartDelayMs = 10;
    unsigned mBlockPaceMs = 0;
    bool mUpgradeMode = false;
    ReceivedImage* mStarted = nullptr;
    int mBlockIndex = 0;
    ReceivedImage mMcu;
    ReceivedImage mDsp;
    bool mErased = false;
    int mLoaderRestarts = 0;
    // Decided while handling a command, done once its answer is queued.
    bool mRestartPending = false;
    std::vector<uint8_t> mFollowUp;
    bool mVanishPending = false;
};

}  // namespace sim
