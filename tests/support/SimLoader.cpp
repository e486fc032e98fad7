#include "tests/support/SimLoader.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "device/FrameCodec.h"
#include "device/UpgradeBlocks.h"
#include "device/UpgradeSubcommands.h"

namespace sim {

namespace {

using namespace dsp::upgrade;

constexpr size_t kMcuBlockPayload = UpgradeBlocks::kMcuPayloadBytes;
constexpr size_t kMcuBlockBytes = UpgradeBlocks::kMcuBlockBytes;
constexpr size_t kMaxDspBlockBytes = UpgradeBlocks::kDspBlockBytes;
constexpr uint8_t kReboot = 0x8F;

uint32_t BigEndian32(const std::vector<uint8_t>& d) {
    return uint32_t(d[0]) << 24 | uint32_t(d[1]) << 16 | uint32_t(d[2]) << 8 | d[3];
}

}  // namespace

LoaderUnitModel::LoaderUnitModel(SimUnit& unit) : UnitModel(unit), mSimUnit(unit) {}

void LoaderUnitModel::SetFaults(const LoaderFaults& faults) {
    std::lock_guard<std::mutex> lock(mLoaderMutex);
    mFaults = faults;
}

void LoaderUnitModel::SetLoaderRestartDelay(unsigned delayMs) {
    std::lock_guard<std::mutex> lock(mLoaderMutex);
    mRestartDelayMs = delayMs;
}

void LoaderUnitModel::SetBlockPace(unsigned delayMs) {
    std::lock_guard<std::mutex> lock(mLoaderMutex);
    mBlockPaceMs = delayMs;
}

void LoaderUnitModel::OnCommand(const Frame& frame, SimUnit& unit) {
    const bool block = frame.optype == dsp::OP_SET &&
                       ((frame.type == dsp::CMD_MCU && (frame.subcommand == kMcuBlock || frame.subcommand == kLoaderBlock)) ||
                        (frame.type == dsp::CMD_FLASH && frame.subcommand == kFlashBlock));
    unsigned pace = 0;
    {
        std::lock_guard<std::mutex> lock(mLoaderMutex);
        pace = mBlockPaceMs;
    }
    if (block && pace > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pace));
    UnitModel::OnCommand(frame, unit);
    std::vector<uint8_t> followUp;
    bool restart = false;
    bool vanish = false;
    unsigned delayMs = 0;
    {
        std::lock_guard<std::mutex> lock(mLoaderMutex);
        followUp.swap(mFollowUp);
        restart = mRestartPending;
        vanish = mVanishPending;
        delayMs = mRestartDelayMs;
        mRestartPending = mVanishPending = false;
    }
    if (!followUp.empty()) unit.QueueInputReport(followUp);
    if (vanish) Vanish();
    if (restart) Restart(delayMs, true);
}

ReceivedImage LoaderUnitModel::McuImage() {
    std::lock_guard<std::mutex> lock(mLoaderMutex);
    return mMcu;
}

ReceivedImage LoaderUnitModel::DspImage() {
    std::lock_guard<std::mutex> lock(mLoaderMutex);
    return mDsp;
}

bool LoaderUnitModel::FlashErased() {
    std::lock_guard<std::mutex> lock(mLoaderMutex);
    return mErased;
}

int LoaderUnitModel::LoaderRestarts() {
    std::lock_guard<std::mutex> lock(mLoaderMutex);
    return mLoaderRestarts;
}

void LoaderUnitModel::HandleMcu(const Frame& frame) {
    if (frame.optype != dsp::OP_SET) {
        UnitModel::HandleMcu(frame);
        return;
    }
    std::lock_guard<std::mutex> lock(mLoaderMutex);
    const bool inLoader = mState.identity.loaderMode;
    switch (frame.subcommand) {
    case kMcuEnter:
        // The application agrees, then restarts into the loader, which
        // comes up in upgrade mode; the loader itself just agrees.
        if (!AnswerEnter()) return;
        mUpgradeMode = true;
        if (!inLoader) RestartInto(true);
        return;
    case kLoaderEnter:  // the loader is replaced from the running application
        if (AnswerEnter()) mUpgradeMode = true;
        return;
    case kMcuStart:
        StartImage(&mMcu, inLoader && mUpgradeMode, frame);
        return;
    case kLoaderStart:
        StartImage(&mMcu, mUpgradeMode, frame);
        return;
    case kMcuBlock:
    case kLoaderBlock:
        Block(&mMcu, frame, false);
        return;
    case kMcuFinish:
    case kLoaderFinish:
        // Not answered: the unit reboots into its (new) application, which
        // runs the version the images stand for.
        if (mStarted != &mMcu) return;
        mMcu.finished = true;
        mStarted = nullptr;
        mUpgradeMode = false;
        mState.identity.master = kImageMain;
        mState.identity.slave = kImageSlave;
        RestartInto(false);
        return;
    case kReboot:
        // Back into the application, from the loader too.
        mUpgradeMode = false;
        mState.identity.loaderMode = false;
        UnitModel::HandleMcu(frame);
        return;
    default:
        UnitModel::HandleMcu(frame);
        return;
    }
}

void LoaderUnitModel::HandleFlash(const Frame& frame) {
    if (frame.optype != dsp::OP_SET) {
        UnitModel::HandleFlash(frame);
        return;
    }
    std::lock_guard<std::mutex> lock(mLoaderMutex);
    switch (frame.subcommand) {
    case kFlashErase:
        mErased = true;
        Ack();
        return;
    case kFlashStart:
        StartImage(&mDsp, mState.identity.loaderMode && mUpgradeMode, frame);
        return;
    case kFlashBlock:
        Block(&mDsp, frame, true);
        return;
    case kFlashFinish:
        // The program does not wait for this answer; its next read takes it.
        if (mStarted != &mDsp) return;
        mDsp.finished = true;
        mStarted = nullptr;
        Ack();
        return;
    default:
        UnitModel::HandleFlash(frame);
        return;
    }
}

bool LoaderUnitModel::AnswerEnter() {
    switch (mFaults.enter) {
    case EnterAnswer::Ready: Ack(); return true;
    case EnterAnswer::NotReady: NotReady(); return false;
    case EnterAnswer::Silent: return false;
    }
    return false;
}

void LoaderUnitModel::StartImage(ReceivedImage* image, bool allowed, const Frame& frame) {
    if (!allowed || mFaults.refuseStart || frame.data.size() != 4) {
        NotReady();
        return;
    }
    *image = ReceivedImage();
    image->startParams = frame.data;
    mStarted = image;
    mBlockIndex = 0;
    Ack();
}

void LoaderUnitModel::Block(ReceivedImage* image, const Frame& frame, bool dspLayout) {
    const std::vector<uint8_t>& d = frame.data;
    const size_t count = dspLayout ? (d.size() >= 5 ? d[4] : 0) : kMcuBlockBytes;
    const size_t dataAt = dspLayout ? 5 : 4;
    const bool shaped = dspLayout ? d.size() >= 5 && count <= kMaxDspBlockBytes && d.size() == 5 + count
                                  : d.size() == kMcuBlockPayload;
    if (mStarted != image || !shaped || BigEndian32(d) > kMaxImageBytes - count) {
        NotReady();
        return;
    }
    const int index = mBlockIndex++;
    if (index == mFaults.vanishAtBlock) {
        mVanishPending = true;
        return;
    }
    const uint32_t offset = BigEndian32(d);
    if (image->bytes.size() < offset + count) image->bytes.resize(offset + count, 0);
    std::copy(d.begin() + static_cast<long>(dataAt), d.begin() + static_cast<long>(dataAt + count),
              image->bytes.begin() + offset);
    image->blockOffsets.push_back(offset);
    if (index == mFaults.notReadyBlock) {
        NotReady();
        if (mFaults.readyAfterNotReady)
            mFollowUp = SimUnit::EncodeFrame(frame.type, frame.subcommand, dsp::OP_ACK, {kReady});
        return;
    }
    Ack();
}

void LoaderUnitModel::RestartInto(bool loader) {
    // A hung unit stays where it is; a restart would come back as an arrival.
    if (Hung()) return;
    mState.identity.loaderMode = loader;
    mRestartPending = true;
    ++mLoaderRestarts;
}

}  // namespace sim
