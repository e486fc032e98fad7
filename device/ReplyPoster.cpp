#include "device/ReplyPoster.h"

#include "base/Log.h"
#include "device/DspRecords.h"

ReplyPoster::ReplyPoster(DspDevice& device)
    : mDevice(device),
      mDecoder(*this, dsp::ReplyDeviceState{device.mDeviceModelId, device.mMcuNormalMode,
                                            device.mBootloaderVersion, device.mUpgState,
                                            device.mUpgNotReady}) {}

void ReplyPoster::OnFrame(uint8_t length, uint8_t type, const uint8_t* payload) {
    dsp::ReplyConfig config;
    config.outputCount = mDevice.mOutputCount;
    config.inputCount = mDevice.mInputCount;
    config.trimHundredths = mDevice.mTrimHundredths;
    config.noiseToMainWnd = mDevice.mNoiseToMainWnd;
    mDecoder.Decode(config, length, type, payload);
}

HWND ReplyPoster::TargetWindow(dsp::ReplyTarget target) const {
    switch (target) {
    case dsp::ReplyTarget::MainWnd: return mDevice.mMainWnd;
    case dsp::ReplyTarget::SceneWnd: return mDevice.mSceneWnd;
    case dsp::ReplyTarget::DspValueWnd: return mDevice.mDspValueWnd;
    case dsp::ReplyTarget::MemDataWnd: return mDevice.mMemDataWnd;
    case dsp::ReplyTarget::AutoCalWnd: return mDevice.mAutoCalWnd;
    }
    return nullptr;
}

void ReplyPoster::Post(const dsp::ReplyMessage& message) {
    const LPARAM lParam =
        message.record ? reinterpret_cast<LPARAM>(message.record) : static_cast<LPARAM>(message.value);
    HWND wnd = TargetWindow(message.target);
    // A null handle would post to this thread's own queue, where nobody frees the record.
    if (!wnd) {
        LogPrintW(L"no window for message %u, wParam 0x%02x: dropped\n", message.message, message.wParam);
        dsp::FreeDspRecord(message.record);
        return;
    }
    if (!PostMessageW(wnd, message.message, message.wParam, lParam)) {
        LogPrintW(L"PostMessage %u, wParam 0x%02x failed (%lu): dropped\n", message.message,
                  message.wParam, GetLastError());
        dsp::FreeDspRecord(message.record);
    }
}

void ReplyPoster::Log(const char* line) { LogPrintW(L"%S", line); }
