#include "app/tuning/EqualizerManager.h"
#include "app/tuning/ReachedOperation.h"

#include <windows.h>

#include "app/controls/UIEqualizer.h"
#include "base/Log.h"
#include "uilib/control/Option.h"

using SkinUI::COptionUI;

namespace {

const double kCurveSampleRate = 48000.0;

ChannelCrossover CurveCrossover(const FilterParams& filter)
{
    return ChannelCrossover{filter.bypass != 1, static_cast<double>(filter.fs), filter.type, filter.slope};
}

// Bands as the chart and the curve see them: no gain when the channel's EQ
// is bypassed or the band is off.
float ShownGain(const EqBand& band, bool bypassed)
{
    return bypassed || band.enable == 0 ? 0.0f : band.gain;
}

int BandCount(const ChannelParams& channel)
{
    const int count = channel.eqSize;
    return count < 0 ? 0 : (count > kMaxEqBands ? kMaxEqBands : count);
}

} // namespace

void EqualizerManager::ComputeChannelCurve(int ch, bool bypassed)
{
    if (ch < 0 || ch >= kOutputChannels) return;
    SceneProfile& profile = mModel.Current();
    const ChannelParams& channel = profile.channels[ch];
    const int count = BandCount(channel);
    // A channel without bands keeps the curve it has.
    if (count == 0) return;
    if (mCurveGrid.freqs.size() != static_cast<size_t>(kCurvePoints)) {
        MakeResponseGrid(kCurveSampleRate, kCurvePoints, &mCurveGrid);
    }
    ChannelBand bands[kMaxEqBands];
    for (int b = 0; b < count; ++b) {
        const EqBand& band = channel.bands[b];
        bands[b] = ChannelBand{static_cast<double>(band.freq), ShownGain(band, bypassed), static_cast<double>(band.Q)};
    }
    for (int i = 0; i < kCurvePoints; ++i) profile.curveFreqs[ch][i] = mCurveGrid.freqs[i];
    ChannelResponse(mCurveGrid, kCurveSampleRate, bands, count, CurveCrossover(channel.crossover.hp),
                    CurveCrossover(channel.crossover.lp), profile.curveGains[ch].data());
}

void EqualizerManager::ShowCurves()
{
    if (mControls.equalizer == nullptr) return;
    SceneProfile& profile = mModel.Current();
    mControls.equalizer->SetCurves(profile.curveFreqs[0].data(), profile.curveGains[0].data(), kOutputChannels,
                                   CurrentChannel(), profile.showOutChEqualizer.data(), 0);
}

void EqualizerManager::SetChEqualizerShow(int ch)
{
    const ReachedOperation reached(__func__, ch);
    if (ch < 0 || ch >= kOutputChannels) return;
    SceneProfile& profile = mModel.Current();
    COptionUI* show = mControls.channels[ch].show;
    if (show != nullptr) profile.showOutChEqualizer[ch] = show->IsSelected() ? 1 : 0;
    ComputeChannelCurve(ch, profile.channels[ch].bypass == 1);
    ShowCurves();
}

void EqualizerManager::UpdateEqualizer(int selected)
{
    const ReachedOperation reached(__func__, selected);
    const DWORD start = GetTickCount();
    SceneProfile& profile = mModel.Current();
    const int current = CurrentChannel();
    if (current < 0 || current >= kOutputChannels) return;
    auto compute = [&](int ch) { ComputeChannelCurve(ch, profile.channels[ch].bypass == 1); };
    compute(current);
    const int partner = UpdateSyncPartner(current);
    if (partner >= 0) compute(partner);
    const int group = profile.linkSel[current];
    if (group >= 1) {
        // Channels 0-11 and 12-15 carry different band counts: a group acts
        // within the current channel's band group only.
        const bool upper = current >= 12;
        for (int i = 0; i < kOutputChannels; ++i) {
            if (i == current || i == partner || profile.linkSel[i] != group || (i >= 12) != upper) continue;
            compute(i);
        }
    }
    LogPrintW(L"UpdateEqualizer 0 cost time %d ms\n", static_cast<int>(GetTickCount() - start));

    UIEqualizer* chart = mControls.equalizer;
    if (chart != nullptr) {
        const ChannelParams& channel = profile.channels[current];
        const bool bypassed = channel.bypass == 1;
        const int count = BandCount(channel);
        EqBand shown[kMaxEqBands];
        for (int b = 0; b < count; ++b) {
            shown[b] = channel.bands[b];
            shown[b].gain = ShownGain(channel.bands[b], bypassed);
        }
        chart->SetBands(shown, count, selected);
        chart->setCurEqHpLp(channel.crossover.GetHpFreq(), channel.crossover.GetLpFreq());
        ShowCurves();
    }
    LogPrintW(L"UpdateEqualizer 1 cost time %d ms\n", static_cast<int>(GetTickCount() - start));
}
