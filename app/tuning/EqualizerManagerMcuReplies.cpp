#include "app/tuning/EqualizerManager.h"

#include <cwchar>

#include "app/tuning/ControlText.h"
#include "app/windows/MsgWnd.h"
#include "base/AnsiText.h"
#include "base/Log.h"
#include "device/DspRecords.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Slider.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

enum McuReply {
    kHandshake = 0x08,
    kFlashVersion = 0x0B,
    kPassword = 0x0D,
    kDeviceText = 0x41,
    kPowerOffDelay = 0x91,
    kAccDelay = 0x92,
    kPing = 0x93,
};

enum SceneReply {
    kSceneName = 0x0B,
    kSceneValid = 0x0F,
};

bool IsMcuRecord(int subcommand)
{
    return subcommand == kHandshake || subcommand == kFlashVersion || subcommand == kPassword ||
           subcommand == kDeviceText;
}

} // namespace

void EqualizerManager::ReadMcuValueCallback(int subcommand, LPARAM value)
{
    LogPrintW(L"ReadMcuValueCallback 0x%02x\n", subcommand);
    const TypingKept typing(mManager);
    void* record = IsMcuRecord(subcommand) ? reinterpret_cast<void*>(value) : nullptr;
    SceneProfile& profile = Current();
    switch (subcommand) {
    case kHandshake: {
        const auto* r = static_cast<const dsp::McuHandshakeRecord*>(record);
        if (r == nullptr) break;
        profile.model = r->modelId;
        profile.mainVersion = r->masterVersion;
        profile.slaveVersion = r->slaveVersion;
        const int normal = mDevice.mMcuNormalMode.load();
        LogPrintW(L"UI MCU_HANDSHAKE model=%d, mainVersion=%d, slaveVersion=%d, mcu_is_normal_mode=%d\n",
                  r->modelId, r->masterVersion, r->slaveVersion, normal);
        if (r->modelId != kModelId && normal == 1) {
            const CUIString notMatch = CResourceStore::GetInstance()->LookupText(L"${device_not_match}");
            wchar_t text[256];
            _snwprintf(text, 255, L"%s %d", notMatch.CStr(), r->modelId);
            text[255] = L'\0';
            // The record is freed first: the box runs a modal loop.
            dsp::FreeDspRecord(record);
            record = nullptr;
            ShowNotice(mMainWnd, text);
        }
        break;
    }
    case kFlashVersion: {
        const auto* r = static_cast<const dsp::McuFlashVersionRecord*>(record);
        if (r == nullptr) break;
        for (int i = 0; i < 4; ++i) profile.dspFlashVersion[i] = r->version[i];
        break;
    }
    case kPowerOffDelay:
        profile.powerOffDelay = static_cast<int32_t>(value);
        break;
    case kAccDelay: {
        CSliderUI* slider = mControls.accSlider;
        if (slider == nullptr) break;
        profile.acc = static_cast<int32_t>(value);
        slider->SetValue(profile.acc);
        ShowAccText(profile.acc);
        break;
    }
    case kPing:
        LogPrintW(L"MCU_PING recved in ReadMcuValueCallback\n");
        break;
    default:
        break;
    }
    dsp::FreeDspRecord(record);
}

void EqualizerManager::ReadSenceValueCallback(int subcommand, LPARAM value)
{
    LogPrintW(L"ReadSenceValueCallback 0x%02x\n", subcommand);
    switch (subcommand) {
    case kSceneName: {
        auto* r = reinterpret_cast<dsp::SceneNameRecord*>(value);
        if (r != nullptr && TuningModel::IsSceneIndex(r->index)) {
            mModel.StoreUnitSceneName(r->index, r->name, sizeof(r->name), AnsiToWide);
        } else if (r != nullptr) {
            LogPrintW(L"scene name slot %d out of range, dropped\n", r->index);
        }
        dsp::FreeDspRecord(r);
        break;
    }
    case kSceneValid: {
        auto* r = reinterpret_cast<dsp::SceneValidRecord*>(value);
        if (r != nullptr) {
            mModel.sceneValid = r->bitmap;
            LogPrintW(L"FLASH_SCENE_VALID 0x%02x\n", r->bitmap);
        }
        dsp::FreeDspRecord(r);
        break;
    }
    default:
        break;
    }
}

void EqualizerManager::ReadKtvValueCallback(int subcommand, LPARAM value)
{
    LogPrintW(L"ReadKtvValueCallback 0x%02x\n", subcommand);
    // Codes 1 to 10: mic, music, howling, echo level and delay, reverb level
    // and time, voice changer, bass and treble.
    if (subcommand < 1 || subcommand > kKaraokeCodes) return;
    Current().karaokeValues[subcommand - 1] = static_cast<int32_t>(value);
}
