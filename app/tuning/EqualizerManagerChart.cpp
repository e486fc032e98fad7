#include "app/tuning/EqualizerManager.h"
#include "app/tuning/ReachedOperation.h"

#include <windows.h>

#include <cmath>
#include <cwchar>

#include "app/controls/SButtonUI.h"
#include "app/controls/UIEqualizer.h"
#include "app/tuning/ControlText.h"
#include "app/tuning/EqBandRules.h"
#include "base/Log.h"
#include "uilib/control/Edit.h"

namespace {

const uint8_t kLowPass = 1;
const uint8_t kHighPass = 2;

} // namespace

void EqualizerManager::EqualizerCallback(int index, int command, bool release)
{
    const ReachedOperation reached(__func__, index);
    LogPrintW(L"%s cmd %d index %d\n", L"EqualizerCallback", command, index);
    if (mControls.equalizer == nullptr) return;
    if (command == 0) {
        ChartBandMoved(index, release);
    } else if (command == 1 || command == 2) {
        ChartHandleMoved(command == 1, release);
    }
}

bool EqualizerManager::ChartSendDue(bool release)
{
    const uint64_t now = mChartClock != nullptr ? mChartClock() : GetTickCount64();
    return mChartGate.Due(release, now);
}

void EqualizerManager::ChartBandMoved(int i, bool release)
{
    const int cur = CurrentChannel();
    SceneProfile& profile = mModel.Current();
    ChannelParams& channel = profile.channels[cur];
    if (i < 0 || i >= channel.eqSize || i >= kMaxEqBands) return;
    const EqBand moved = mControls.equalizer->GetBand(i);
    const float g = moved.gain;
    const EqBand& stored = channel.bands[i];
    // Against what the chart was given (no gain for a bypassed channel or a
    // band switched off): a hover moves nothing, and must keep a switched-off
    // band's gain for its enable button.
    const float shown = channel.bypass == 1 || stored.enable == 0 ? 0.0f : stored.gain;
    // The Q handle stores the tenth the unit holds; a band moved otherwise
    // keeps its Q, a file's 0.73 too.
    const float q = std::fabs(stored.Q - moved.Q) < 0.005f ? stored.Q : EqUnitQ(moved.Q);
    if (!release && stored.freq == moved.freq && q == stored.Q && std::fabs(shown - g) < 0.01f) return;
    const bool due = ChartSendDue(release);
    const int partner = UpdateSyncPartner(cur);
    int members[kOutputChannels];
    const int memberCount = EqGroupMembers(cur, partner, members);

    // Leaving the flat state: the hidden gains go, and the unit hears at
    // once that the channel is no longer bypassed, so that the next move
    // within the gate does not zero the dragged band again.
    const bool leftFlat = channel.bypass == 1 && !IsZeroGain(g);
    if (leftFlat) {
        ZeroEqGains(cur);
        for (int k = 0; k < memberCount; ++k) {
            if (IsEqBypassed(members[k])) ZeroEqGains(members[k]);
        }
        if (partner >= 0) ZeroEqGains(partner);
        StoreEqBypass(cur, 0);
    }

    channel.bands[i] = EqBand(g, q, moved.freq, 1);
    // The group follows within the gate like the channel itself.
    for (int k = 0; k < memberCount; ++k) {
        CopyEqBand(cur, members[k], i);
        if (due) SendEqBand(members[k], i);
    }
    if (partner >= 0) CopyEqBand(cur, partner, i);
    SkinUI::CSButtonUI* marker = mControls.bands[i].marker;
    if (marker != nullptr) marker->SetSelectedState(!IsZeroGain(g));
    const bool flat = IsZeroGain(g) && IsEqFlat(channel.bands.data(), channel.eqSize);
    ShowBypassButton(!flat);

    if (due) {
        SendEqBand(cur, i);
        const uint8_t bypass = flat ? 1 : 0;
        StoreEqBypass(cur, bypass);
        for (int k = 0; k < memberCount; ++k) StoreEqBypass(members[k], bypass);
        if (partner >= 0) {
            SendEqBand(partner, i);
            StoreEqBypass(partner, bypass);
        }
    }
    if (leftFlat) {
        ShowEqBandRows(cur);
    } else {
        ShowEqBandRow(cur, i);
    }
    UpdateEqualizer(i);
}

void EqualizerManager::ChartHandleMoved(bool highPass, bool release)
{
    const int cur = CurrentChannel();
    SceneProfile& profile = mModel.Current();
    const int freq = highPass ? mControls.equalizer->GetHpFreq() : mControls.equalizer->GetLpFreq();
    if (!highPass) {
        wchar_t trace[64];
        _snwprintf(trace, 63, L"EqualizerCallback mLpFreq(%d)\n", freq);
        trace[63] = L'\0';
        OutputDebugStringW(trace);
    }
    auto store = [&](int ch) {
        CrossoverParams& x = profile.channels[ch].crossover;
        if (highPass) {
            x.SetHpFreq(freq);
        } else {
            x.SetLpFreq(freq);
        }
    };
    auto send = [&](int ch) {
        const CrossoverParams& x = profile.channels[ch].crossover;
        const FilterParams& f = highPass ? x.hp : x.lp;
        mDevice.Filter_Ctrl(static_cast<uint8_t>(profile.scene), 0, static_cast<uint8_t>(ch),
                            highPass ? kHighPass : kLowPass, static_cast<uint32_t>(f.fs), static_cast<uint8_t>(f.slope),
                            static_cast<uint8_t>(f.type), false);
    };
    store(cur);
    const CrossoverParams& x = profile.channels[cur].crossover;
    SetIntText(highPass ? mControls.hpFreq : mControls.lpFreq, L"%dHz", highPass ? x.GetHpFreq() : x.GetLpFreq());
    if (ChartSendDue(release)) {
        send(cur);
        // The group, the current channel included, and the partner catch up
        // at each due send.
        const int group = profile.linkSel[cur];
        for (int k = 0; group >= 1 && k < kOutputChannels; ++k) {
            if (profile.linkSel[k] != group) continue;
            store(k);
            send(k);
        }
        const int partner = UpdateSyncPartner(cur);
        if (partner >= 0) {
            store(partner);
            send(partner);
        }
    }
    UpdateEqualizer(-1);
}
