#include "app/tuning/UnitStatusRead.h"

#include <windows.h>

#include <algorithm>

#include "app/tuning/SceneProfile.h"
#include "app/tuning/UnitExchanges.h"
#include "base/Log.h"
#include "device/DeviceTiming.h"
#include "device/DspDevice.h"

namespace {

const uint8_t kLastChannel = kOutputChannels - 1;
const uint8_t kEqBlock = 7;
const uint8_t kFilterBlock = 4;
const int kCrossSourceRows = 2;
const uint8_t kSceneNameSlots = 10;
const uint8_t kBridgePairCount = 8;


bool AskEqBlocks(UnitExchanges& asker, uint8_t scene)
{
    for (uint8_t ch = 0; ch < kOutputChannels; ++ch) {
        const int bands = UnitEqBandCount(ch);
        for (int first = 0; first < bands; first += kEqBlock) {
            const uint8_t last = static_cast<uint8_t>(std::min(first + kEqBlock - 1, bands - 1));
            if (!asker.Run([&](DspDevice& d) { d.Get_EQ(scene, 0, ch, static_cast<uint8_t>(first), last); }))
                return false;
        }
    }
    return true;
}

bool AskFilters(UnitExchanges& asker, uint8_t scene)
{
    for (uint8_t first = 0; first < kOutputChannels; first += kFilterBlock) {
        const uint8_t last = static_cast<uint8_t>(first + kFilterBlock - 1);
        if (!asker.Run([&](DspDevice& d) { d.Get_Filter(scene, 0, first, last); })) return false;
    }
    return asker.Run([&](DspDevice& d) { d.Get_PEQ_Bypass(scene, 0, 0, kLastChannel); });
}

// Routing masks, the per-input mix trims and the cross-source mix of every
// source; the cross-source mix is always asked for the live settings, on the
// channels the mixer sets.
bool AskMixes(UnitExchanges& asker, uint8_t scene)
{
    for (uint8_t source = 0; source < kInputSources; ++source) {
        if (!asker.Run([&](DspDevice& d) { d.Get_Mix_Ch(scene, source, 0, kLastChannel); })) return false;
    }
    for (uint8_t source = 0; source < kInputSources; ++source) {
        const int inputs = 2 + GetInputExtraChannels(source);
        for (int in = 0; in < inputs; ++in) {
            if (!asker.Run([&](DspDevice& d) {
                    d.Get_Input_Mix_CH_Trim(scene, source, static_cast<uint8_t>(in), 0, kLastChannel);
                }))
                return false;
        }
    }
    for (uint8_t source = 0; source < kInputSources; ++source) {
        for (int k = 0; k < kCrossSourceRows; ++k) {
            const uint8_t ch = static_cast<uint8_t>(GetCrossSourceChannel(source, k));
            if (!asker.Run([&](DspDevice& d) { d.Get_Cross_Source_Mix_CS47048(0, source, ch); })) return false;
        }
    }
    return true;
}

bool AskSceneNames(UnitExchanges& asker, uint8_t lastIndex)
{
    for (uint8_t index = 1; index <= lastIndex; ++index) {
        if (!asker.Run([&](DspDevice& d) { d.GetSceneName(index); })) return false;
    }
    return true;
}

bool AskUnitWide(UnitExchanges& asker)
{
    void (DspDevice::*const gets[])() = {
        &DspDevice::Get_Source,  &DspDevice::Get_Main_Volume, &DspDevice::Get_Acc,
        &DspDevice::Get_Subwoofer_Volume, &DspDevice::Get_Mute, &DspDevice::Get_Amp_Mute,
        &DspDevice::Get_Rem_Out, &DspDevice::Get_Spk_Ohm, &DspDevice::Get_Noise_Gate,
        &DspDevice::Get_Speaker_Config, &DspDevice::GetSceneValid,
    };
    for (auto get : gets) {
        if (!asker.Run([&](DspDevice& d) { (d.*get)(); })) return false;
    }
    return true;
}

} // namespace

int UnitEqBandCount(int ch)
{
    return ch < kWideEqChannels ? kMaxEqBands : kNarrowEqBands;
}

UnitStatusRead ReadUnitStatus(DspDevice& device, const std::atomic<bool>& stop, uint32_t link)
{
    UnitExchanges asker(device, stop, link);
    return ReadUnitStatus(asker);
}

UnitStatusRead ReadUnitStatus(UnitExchanges& asker)
{
    LogPrintW(L"PC_UI_Status_Init\n");
    DspDevice& device = asker.Device();
    if (!asker.Run([](DspDevice& d) { d.PC_Connect(1); })) return UnitStatusRead::Stopped;
    bool answered = false;
    if (!asker.Run([&](DspDevice& d) { answered = d.Hand_Connect(); })) return UnitStatusRead::Stopped;
    if (!answered) return UnitStatusRead::HandshakeFailed;
    if (device.mDeviceModelId.load() != kProfileModelId || device.mMcuNormalMode.load() == 0)
        return UnitStatusRead::NotRead;

    const bool done =
        AskUnitWide(asker) &&
        asker.Run([](DspDevice& d) { d.Get_Delay(0, 0, 0, kLastChannel); }) &&
        asker.Run([](DspDevice& d) { d.Get_CH_Type(0, 0, 0, kLastChannel); }) &&
        asker.Run([](DspDevice& d) { d.Get_Ch_Solo(0, 0, 0, kLastChannel); }) &&
        asker.Run([](DspDevice& d) { d.Get_CH_Link(0); }) && asker.Run([](DspDevice& d) { d.Get_CH_Lock(0); }) &&
        AskFilters(asker, 0) && AskEqBlocks(asker, 0) &&
        asker.Run([](DspDevice& d) { d.Get_Trim(0, 0, 0, kLastChannel); }) &&
        asker.Run([](DspDevice& d) { d.Get_Mute_Ch(0, 0, 0, kLastChannel); }) &&
        asker.Run([](DspDevice& d) { d.Get_Phase(0, 0, 0, kLastChannel); }) &&
        asker.Run([](DspDevice& d) { d.Get_Ch_Solo(0, 0, 0, kLastChannel); }) && AskMixes(asker, 0) &&
        asker.Run([](DspDevice& d) { d.Get_Input_Threshold(0, 0, true); }) &&
        AskSceneNames(asker, kSceneNameSlots) &&
        asker.Run([](DspDevice& d) { d.Get_Ouput_Bridge(0, 0, kBridgePairCount); });
    if (!done) return asker.Outcome();
    LogPrintW(L"PC_UI_Status_Init done\n");
    return UnitStatusRead::Done;
}

UnitStatusRead ReadStoredSceneStatus(UnitExchanges& asker, uint8_t sceneId, uint32_t settleMs)
{
    LogPrintW(L"read scene sceneId(%d)\n", sceneId);
    const uint8_t s = sceneId;
    if (!asker.RunAnswered([&](DspDevice& d) { d.ReadScene(s, 0xFF); })) return asker.Outcome();
    const bool done = asker.Pause(ScaledWait(settleMs)) &&
                      asker.Run([&](DspDevice& d) { d.Get_CH_Type(s, 0, 0, kLastChannel); }) &&
                      asker.Run([&](DspDevice& d) { d.Get_CH_Link(s); }) &&
                      asker.Run([&](DspDevice& d) { d.Get_CH_Lock(s); }) &&
                      asker.Run([&](DspDevice& d) { d.Get_Ch_Solo(s, 0, 0, kLastChannel); }) &&
                      AskFilters(asker, s) && AskEqBlocks(asker, s) &&
                      asker.Run([&](DspDevice& d) { d.Get_Delay(s, 0, 0, kLastChannel); }) &&
                      asker.Run([&](DspDevice& d) { d.Get_Trim(s, 0, 0, kLastChannel); }) &&
                      asker.Run([&](DspDevice& d) { d.Get_Mute_Ch(s, 0, 0, kLastChannel); }) &&
                      asker.Run([&](DspDevice& d) { d.Get_Ch_Solo(s, 0, 0, kLastChannel); }) &&
                      asker.Run([&](DspDevice& d) { d.Get_Phase(s, 0, 0, kLastChannel); }) && AskMixes(asker, s) &&
                      // The scene's bridges, so that a whole push gives them back.
                      asker.Run([&](DspDevice& d) { d.Get_Ouput_Bridge(s, 0, kBridgePairCount); });
    if (!done || !AskSceneNames(asker, kSceneNameSlots - 1)) return asker.Outcome();
    return UnitStatusRead::Done;
}
