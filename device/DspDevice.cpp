#include "device/DspDevice.h"

#include <atomic>
#include <cstring>
#include <cwchar>
#include <new>

#include "base/Log.h"
#include "device/DeviceTiming.h"
#include "device/ReplyPoster.h"

namespace {
std::atomic<DspDevice::PushCheck> gPushCheck{nullptr};
std::atomic<DspDevice::PushCheck> gExchangeCheck{nullptr};
// The link this thread's waited commands are bound to; 0: none.
thread_local uint32_t tBoundLink = 0;
}

DspDevice::LinkBinding::LinkBinding(uint32_t link) : mBefore(tBoundLink) { tBoundLink = link; }

DspDevice::LinkBinding::~LinkBinding() { tBoundLink = mBefore; }

DspDevice::DspDevice() : mReceiveBuffer(new uint8_t[dsp::kOutputReportSize]()) {
    mReplyPoster.reset(new ReplyPoster(*this));
    mFrameHandler.store(mReplyPoster.get());
    mWorker = new WorkerThread(&DspDevice::McuCmdThread, this);
    if (!mWorker->Start()) LogPrintW(L"McuCmdThread could not be started\n");
}

DspDevice::~DspDevice() {
    mRunning.store(0);
    if (mWorker) {
        mWorker->Join();
        delete mWorker;
        mWorker = nullptr;
    }
    DropQueued();  // anything left when no worker ran
    DiscardQueued();
    SendLeaveFrame();
    delete[] mReceiveBuffer;
}

void DspDevice::SetDeviceConfig(uint8_t modelId, uint32_t outputCount, uint32_t inputCount,
                                uint32_t trimHundredths, uint8_t noiseToMainWnd) {
    mExpectedModelId = modelId;
    mOutputCount = outputCount;
    mInputCount = inputCount;
    mTrimHundredths = trimHundredths;
    mNoiseToMainWnd = noiseToMainWnd;
}

void DspDevice::SetMainWnd(HWND wnd) { mMainWnd = wnd; }

void DspDevice::SetPushCheck(PushCheck check) { gPushCheck.store(check); }

void DspDevice::SetExchangeCheck(PushCheck check) { gExchangeCheck.store(check); }

void DspDevice::EnableAsyncMode() { mAsyncMode.store(1); }

void DspDevice::DisableAsyncMode() {
    mAsyncMode.store(0);
    DropQueued();
}

void DspDevice::DropQueued() {
    // Only ever raised: a drop named from another thread never gives back a later one.
    const uint32_t pushed = mPushed.load();
    uint32_t through = mDropThrough.load();
    while (static_cast<int32_t>(pushed - through) > 0 && !mDropThrough.compare_exchange_weak(through, pushed)) {
    }
}

void DspDevice::WaitCommandInProgress() {
    if (DspDevice::PushCheck check = gExchangeCheck.load()) check(mMainWnd, 0);
    // The worker sets its busy flag before it looks at the mode; once it is
    // clear with the mode off, it sends nothing more.
    while (mWorkerBusy.load()) Sleep(1);
}

bool DspDevice::Submit(uint8_t type, uint8_t subcommand, uint8_t optype, const uint8_t* payload,
                       uint8_t length, bool sync, uint32_t waitMs) {
    if (length > dsp::kMaxCommandPayload) {
        LogPrintW(L"payload of %d bytes refused, subcmd 0x%02x\n", length, subcommand);
        return false;
    }
    if (sync) return Exchange(type, subcommand, optype, payload, length, waitMs);
    if (!mAsyncMode.load()) return false;

    if (DspDevice::PushCheck check = gPushCheck.load()) check(mMainWnd, subcommand);
    DspCmdEntry entry{type, subcommand, optype, nullptr, length};
    if (length > 0) {
        entry.payload = new (std::nothrow) uint8_t[length];
        if (!entry.payload) return false;
        std::memcpy(entry.payload, payload, length);
    }
    if (!mCmdQueue.Push(entry)) {
        delete[] entry.payload;
        LogPrintW(L"command queue full, subcmd 0x%02x dropped\n", subcommand);
        return false;
    }
    mPushed.fetch_add(1);
    return true;
}

bool DspDevice::Exchange(uint8_t type, uint8_t subcommand, uint8_t optype, const uint8_t* payload,
                         uint8_t length, uint32_t waitMs, bool* written) {
    const DWORD start = GetTickCount();
    if (DspDevice::PushCheck check = gExchangeCheck.load()) check(mMainWnd, subcommand);
    std::unique_lock<std::recursive_timed_mutex> lock(mLinkLock, std::defer_lock);
    mLastAnswered.store(0);
    if (!lock.try_lock_for(std::chrono::milliseconds(ScaledWait(waitMs)))) {
        LogPrintW(L"time out, break out send cmd!\n");
        return false;
    }
    // The link is taken once, under the lock: the send goes to it or nowhere.
    const uint32_t link = mLinkSerial.load();
    if (tBoundLink != 0 && link != tBoundLink) return false;
    if (!WriteCommand(nullptr, link, type, subcommand, optype, payload, length)) return false;
    if (written) *written = true;
    const bool answered = AwaitReply(type, subcommand, waitMs, link);
    mLastAnswered.store(answered ? 1 : 0);
    if (answered) mAnswered.fetch_add(1);
    if (!answered && IsDeviceOpen() && GetTickCount() - start >= ScaledWait(waitMs)) {
        LogPrintW(L"no answer to subcmd 0x%02x within its wait\n", subcommand);
        mSilentExchanges.fetch_add(1);
    }
    return answered;
}

void DspDevice::McuCmdThread(void* device) { static_cast<DspDevice*>(device)->RunCommandWorker(); }

void DspDevice::RunCommandWorker() {
    LogPrintW(L"McuCmdThread start\n");
    while (mRunning.load()) {
        // Not a queued command: a job waiting for the one in progress never waits for it.
        SendLeaveFrame();
        mWorkerBusy.store(1);
        DspCmdEntry entry;
        DiscardQueued();
        if (mAsyncMode.load() && mCmdQueue.TryPop(&entry)) {
            LogQueuedEntry(entry);
            const uint32_t link = mLinkSerial.load();
            const uint32_t silentBefore = mSilentExchanges.load();
            bool written = false;
            if (!Exchange(entry.type, entry.subcommand, entry.optype, entry.payload, entry.length, kReplyWaitMs,
                          &written)) {
                mLastQueueMiss.store(mDone.load() + 1);
                // A change that went out may have been taken though its answer was lost.
                if (entry.optype == dsp::OP_SET) {
                    mUntakenUnanswered.store(written);
                    mUntakenLink.store(link);
                }
                // The unit fell silent: each command behind would wait out its whole time.
                if (mSilentExchanges.load() != silentBefore) DropQueued();
            }
            delete[] entry.payload;
            mDone.fetch_add(1);
            mWorkerBusy.store(0);
        } else {
            mWorkerBusy.store(0);
            Sleep(5);
        }
    }
    DropQueued();
    DiscardQueued();
    SendLeaveFrame();
    LogPrintW(L"McuCmdThread end\n");
}

void DspDevice::DiscardQueued() {
    DspCmdEntry entry;
    while (static_cast<int32_t>(mDropThrough.load() - mDone.load()) > 0 && mCmdQueue.TryPop(&entry)) {
        LogQueuedEntry(entry);
        delete[] entry.payload;
        mLastQueueMiss.store(mDone.fetch_add(1) + 1);
    }
}

void DspDevice::LogQueuedEntry(const DspCmdEntry& entry) {
    // One line: the title and the payload bytes.
    wchar_t line[64 + 5 * dsp::kMaxCommandPayload + 2];
    int n = _snwprintf(line, 64, L"get mcmd 0x%02x subcmd 0x%02x optype 0x%02x len 0x%02x cmd_data:",
                       entry.type, entry.subcommand, entry.optype, entry.length);
    if (n < 0) n = 0;
    for (uint8_t i = 0; i < entry.length && i < dsp::kMaxCommandPayload; ++i)
        n += _snwprintf(line + n, 6, L" 0x%02x", entry.payload[i]);
    line[n++] = L'\n';
    line[n] = L'\0';
    LogPrintW(L"%s", line);
}
