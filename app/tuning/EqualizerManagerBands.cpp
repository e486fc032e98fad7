#include "app/tuning/EqualizerManager.h"
#include "app/tuning/ReachedOperation.h"

#include <cmath>
#include <cwchar>

#include "app/controls/SButtonUI.h"
#include "app/controls/UIEqualizer.h"
#include "app/tuning/ControlText.h"
#include "app/tuning/EqBandRules.h"
#include "app/tuning/TypedNumber.h"
#include "app/windows/MsgWnd.h"
#include "base/Log.h"
#include "uilib/control/Button.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Slider.h"

using namespace SkinUI;

namespace {

const float kMinEqGain = -18.0f;
const float kMaxEqGain = 12.0f;

bool ValidBand(int band)
{
    return band >= 0 && band < kMaxEqBands;
}

// The box's number; fallback without a box or for text that is no number.
float ReadFloat(CEditUI* edit, float fallback, const UnitWords& units)
{
    const std::optional<double> typed = edit != nullptr ? ReadTypedDecimal(edit->GetTextContent(), units) : std::nullopt;
    return typed ? static_cast<float>(*typed) : fallback;
}

void SelectAllOf(CEditUI* edit)
{
    if (edit != nullptr) edit->SetSelection(0, -1);
}

void TakeFocusOf(CEditUI* edit)
{
    if (edit != nullptr) edit->TakeFocus();
}

void EnableControl(CControlUI* control, bool enabled)
{
    if (control != nullptr) control->SetEnabledState(enabled);
}

void SetSliderValue(CSliderUI* slider, int value)
{
    if (slider != nullptr) slider->SetValue(value);
}

void SetMarker(CSButtonUI* marker, bool selected)
{
    if (marker != nullptr) marker->SetSelectedState(selected);
}

} // namespace

bool EqualizerManager::IsEqBypassed(int ch) const
{
    return mModel.Current().channels[ch].bypass == 1;
}

int EqualizerManager::EqGroupMembers(int ch, int partner, int* out) const
{
    const SceneProfile& profile = mModel.Current();
    const int group = profile.linkSel[ch];
    int count = 0;
    if (group < 1) return 0;
    for (int i = 0; i < kOutputChannels; ++i) {
        if (i == ch || i == partner || profile.linkSel[i] != group || !IsSameEqGroup(ch, i)) continue;
        out[count++] = i;
    }
    return count;
}

void EqualizerManager::SendEqBand(int ch, int band)
{
    const SceneProfile& profile = mModel.Current();
    const EqBand& b = profile.channels[ch].bands[band];
    mDevice.EQ_Ctrl(static_cast<uint8_t>(profile.scene), 0, static_cast<uint8_t>(ch), static_cast<uint8_t>(band),
                    static_cast<uint32_t>(b.freq), b.Q, b.enable != 0 ? b.gain : 0.0f, false);
}

void EqualizerManager::SendEqBypass(int ch)
{
    const SceneProfile& profile = mModel.Current();
    const uint8_t bypass = profile.channels[ch].bypass;
    mDevice.PEQ_Bypass_Ctrl(static_cast<uint8_t>(profile.scene), 0, static_cast<uint8_t>(ch),
                            static_cast<uint8_t>(ch), &bypass, false);
}

void EqualizerManager::ZeroEqGains(int ch)
{
    ChannelParams& channel = mModel.Current().channels[ch];
    for (int b = 0; b < channel.eqSize && b < kMaxEqBands; ++b) {
        EqBand& band = channel.bands[b];
        if (IsZeroGain(band.gain)) continue;
        band.gain = 0.0f;
        band.enable = 1;
        SendEqBand(ch, b);
    }
}

void EqualizerManager::StoreEqBypass(int ch, uint8_t bypass)
{
    ChannelParams& channel = mModel.Current().channels[ch];
    if (channel.bypass == bypass) return;
    channel.bypass = bypass;
    SendEqBypass(ch);
}

void EqualizerManager::CopyEqBand(int from, int to, int band)
{
    SceneProfile& profile = mModel.Current();
    profile.channels[to].bands[band] = profile.channels[from].bands[band];
    profile.channels[to].bands[band].enable = 1;
}

bool EqualizerManager::AskEq(const wchar_t* question)
{
    return ShowMsgBox(mMainWnd, L"${tips}", question) == 1;
}

void EqualizerManager::ShowBypassButton(bool active)
{
    if (mControls.bypass != nullptr) mControls.bypass->SetTextContent(active ? L"${bypass_eq}" : L"${restore_eq}");
}

void EqualizerManager::ShowEqBandRow(int ch, int b)
{
    if (!SceneProfile::IsChannel(ch) || !ValidBand(b)) return;
    const BandControls& c = mControls.bands[b];
    const ChannelParams& channel = mModel.Current().channels[ch];
    const bool inUse = b < channel.eqSize;
    const bool parametric = mControls.eqMode != nullptr && mControls.eqMode->IsSelected();
    EnableControl(c.freq, inUse && parametric);
    EnableControl(c.q, inUse && parametric);
    EnableControl(c.gain, inUse);
    EnableControl(c.slider, inUse);
    EnableControl(c.marker, inUse);
    if (!inUse) {
        SetMarker(c.marker, false);
        SetIntText(c.freq, L"%d", 0);
        SetIntText(c.q, L"%d", 0);
        SetText(c.gain, L"%.1f", 0.0);
        SetSliderValue(c.slider, 0);
        return;
    }
    const EqBand& band = channel.bands[b];
    const float shown = channel.bypass == 1 || band.enable == 0 ? 0.0f : band.gain;
    SetIntText(c.freq, L"%d", band.freq);
    SetText(c.q, L"%.*f", band.Q, 2);
    SetText(c.gain, L"%.1f", shown);
    SetSliderValue(c.slider, GainTenths(shown));
    SetMarker(c.marker, !IsZeroGain(shown));
}

void EqualizerManager::ShowEqBandRows(int ch)
{
    for (int b = 0; b < kMaxEqBands; ++b) ShowEqBandRow(ch, b);
}

void EqualizerManager::CommitEqBand(int b, int freq, float q, float g)
{
    const int c = CurrentChannel();
    SceneProfile& profile = mModel.Current();
    ChannelParams& channel = profile.channels[c];
    const int partner = UpdateSyncPartner(c);
    int members[kOutputChannels];
    const int memberCount = EqGroupMembers(c, partner, members);

    // Editing a bypassed channel drops the hidden gains, here and where it follows.
    if (channel.bypass == 1) {
        ZeroEqGains(c);
        for (int i = 0; i < memberCount; ++i) {
            if (IsEqBypassed(members[i])) ZeroEqGains(members[i]);
        }
        if (partner >= 0) ZeroEqGains(partner);
    }

    channel.bands[b] = EqBand(g, q, freq, 1);
    SetMarker(mControls.bands[b].marker, true);
    for (int i = 0; i < memberCount; ++i) {
        CopyEqBand(c, members[i], b);
        LogPrintW(L"freqValue(%d) ,qValue(%f) @band(%d) @ channel(%i)\n", freq, static_cast<double>(q), b, members[i]);
        SendEqBand(members[i], b);
    }
    if (partner >= 0) CopyEqBand(c, partner, b);

    const bool flat = IsZeroGain(g) && IsEqFlat(channel.bands.data(), channel.eqSize);
    if (IsZeroGain(g)) SetMarker(mControls.bands[b].marker, false);
    ShowBypassButton(!flat);
    const uint8_t bypass = flat ? 1 : 0;
    StoreEqBypass(c, bypass);
    for (int i = 0; i < memberCount; ++i) StoreEqBypass(members[i], bypass);
    if (partner >= 0) StoreEqBypass(partner, bypass);

    UpdateEqualizer(b);
    SendEqBand(c, b);
    if (partner >= 0) SendEqBand(partner, b);
}

void EqualizerManager::SetChEqEdit(int b)
{
    const ReachedOperation reached(__func__, b);
    if (!ValidBand(b)) return;
    LogPrintW(L"SetChEqEdit band=%d\n", b);
    const int c = CurrentChannel();
    const ChannelParams& channel = mModel.Current().channels[c];
    const EqBand stored = channel.bands[b];
    const BandControls& ctl = mControls.bands[b];
    // What the row shows: no gain for a bypassed channel or a band switched off.
    const float shown = channel.bypass == 1 || stored.enable == 0 ? 0.0f : stored.gain;
    // Boxes left as the program wrote them were not typed into: leaving them
    // keeps a bypassed channel's hidden gains and a switched-off band's gain.
    if (b < channel.eqSize && !IsTyped(ctl.freq, IntegerText(L"%d", stored.freq)) &&
        !IsTyped(ctl.q, NumberText(L"%.*f", stored.Q, 2)) && !IsTyped(ctl.gain, NumberText(L"%.1f", shown)))
        return;

    int freq = stored.freq;
    if (ctl.freq != nullptr) {
        const std::optional<int> typed = ReadTypedFrequency(ctl.freq->GetTextContent());
        if (typed && *typed >= kEqMinFreq && *typed <= kEqMaxFreq) freq = *typed;
        SetIntText(ctl.freq, L"%d", freq);
    }
    // The unit holds Q in tenths; a Q left as shown keeps what it holds.
    float q = stored.Q;
    if (IsTyped(ctl.q, NumberText(L"%.*f", stored.Q, 2))) {
        const std::optional<double> typed = ReadTypedDecimal(ctl.q->GetTextContent());
        if (typed) q = EqUnitQ(*typed);
    }
    SetText(ctl.q, L"%.*f", q, 2);

    float g = ReadFloat(ctl.gain, shown, {L"dB"});
    // No gain at all, which "-0.001" is too, shows as 0.0, never -0.0.
    if (IsZeroGain(g)) g = 0.0f;
    if (ctl.slider != nullptr) {
        float tenths = g * 10.0f;
        ClampToSlider(ctl.slider, tenths);
        const float kept = static_cast<float>(NearestStep(tenths, 1.0)) * 0.1f;
        if (!IsZeroGain(kept - g)) g = kept;
        ctl.slider->SetValue(GainTenths(g));
    } else if (!(g >= kMinEqGain && g <= kMaxEqGain)) {
        // The unit's gain encoding holds -18 to +12 dB only.
        g = g > kMaxEqGain ? kMaxEqGain : kMinEqGain;
    }
    SetText(ctl.gain, L"%.1f", g);
    LogPrintW(L"freqValue(%d) ,qValue(%f) ,gainValue(%.1f)\n", freq, static_cast<double>(q), static_cast<double>(g));
    if (b >= channel.eqSize) return;

    // A typed value equal to the shown one changes nothing either. Q counts
    // to its two shown decimals, so 8.98 stepped to 9.00 is a change.
    if (stored.freq == freq && std::fabs(stored.Q - q) < 0.005f && std::fabs(shown - g) < 0.01f) return;
    CommitEqBand(b, freq, q, g);
}

void EqualizerManager::SetChEqSlider(int b)
{
    const ReachedOperation reached(__func__, b);
    if (!ValidBand(b)) return;
    const BandControls& ctl = mControls.bands[b];
    if (ctl.slider == nullptr) return;
    const int c = CurrentChannel();
    const ChannelParams& channel = mModel.Current().channels[c];
    const float g = static_cast<float>(ctl.slider->GetValue()) * 0.1f;
    // The stored frequency and Q equal the boxes after every commit; text
    // typed but not yet committed is not taken.
    const EqBand stored = channel.bands[b];
    SetText(ctl.gain, L"%.1f", g);
    LogPrintW(L"sliderValue (%.1f) ,freqValue(%d) ,qValue(%f) @band(%d) @ channel(%d)\n", static_cast<double>(g),
              stored.freq, static_cast<double>(stored.Q), b, c);
    if (b >= channel.eqSize) return;
    CommitEqBand(b, stored.freq, stored.Q, g);
}

void EqualizerManager::SetEqFreqUp(int b, bool up)
{
    const ReachedOperation reached(__func__, b);
    LogPrintW(L"SetEqFreqUp index(%d) up(%d)\n", b, up ? 1 : 0);
    if (!ValidBand(b)) return;
    CEditUI* edit = mControls.bands[b].freq;
    TakeFocusOf(edit);
    const int f = mModel.Current().channels[CurrentChannel()].bands[b].freq;
    if ((up && f >= kEqMaxFreq) || (!up && f <= kEqMinFreq)) return;
    SetIntText(edit, L"%d", NextEqFrequency(f, up));
    SetChEqEdit(b);
    SelectAllOf(edit);
}

void EqualizerManager::SetEqQUp(int b, bool up)
{
    const ReachedOperation reached(__func__, b);
    LogPrintW(L"SetEqQUp index(%d) up(%d)\n", b, up ? 1 : 0);
    if (!ValidBand(b)) return;
    CEditUI* edit = mControls.bands[b].q;
    TakeFocusOf(edit);
    float q = 0.0f;
    if (!StepEqQ(mModel.Current().channels[CurrentChannel()].bands[b].Q, up, &q)) return;
    SetText(edit, L"%.*f", q, 2);
    SetChEqEdit(b);
    SelectAllOf(edit);
}

void EqualizerManager::SetEqGainUp(int b, bool up)
{
    const ReachedOperation reached(__func__, b);
    LogPrintW(L"SetEqGainUp index(%d) up(%d)\n", b, up ? 1 : 0);
    if (!ValidBand(b)) return;
    const BandControls& ctl = mControls.bands[b];
    if (ctl.slider == nullptr) return;
    float value = static_cast<float>(ctl.slider->GetValue() + (up ? 1 : -1));
    if (!ClampToSlider(ctl.slider, value)) return;
    ctl.slider->SetValue(static_cast<int>(value));
    SetText(ctl.gain, L"%.1f", value * 0.1f);
    SetChEqEdit(b);
    SelectAllOf(ctl.gain);
}

void EqualizerManager::OnEqEnable(int b)
{
    const ReachedOperation reached(__func__, b);
    LogPrintW(L"OnEqEnable mEqIndex %d\n", b);
    const int c = CurrentChannel();
    ChannelParams& channel = mModel.Current().channels[c];
    if (!ValidBand(b) || b >= channel.eqSize) return;
    const BandControls& ctl = mControls.bands[b];
    const float s = ctl.slider != nullptr ? static_cast<float>(ctl.slider->GetValue()) * 0.1f : 0.0f;
    EqBand& band = channel.bands[b];
    bool changed = false;
    if (band.enable != 0 && !IsZeroGain(s)) {
        band.enable = 0;
        changed = true;
    } else if (band.enable == 0 && !IsZeroGain(band.gain - s)) {
        band.enable = 1;
        changed = true;
    }
    if (!changed) return;
    const float shown = band.enable != 0 ? band.gain : 0.0f;
    SetMarker(ctl.marker, band.enable != 0);
    SetSliderValue(ctl.slider, GainTenths(shown));
    SetText(ctl.gain, L"%.1f", shown);
    SendEqBand(c, b);

    const int partner = UpdateSyncPartner(c);
    int members[kOutputChannels + 1];
    int count = EqGroupMembers(c, partner, members);
    if (partner >= 0) members[count++] = partner;
    for (int i = 0; i < count; ++i) {
        mModel.Current().channels[members[i]].bands[b].enable = band.enable;
        SendEqBand(members[i], b);
    }
    UpdateEqualizer(-1);

    if (ctl.slider != nullptr) SetMarker(ctl.marker, ctl.slider->GetValue() != 0);
    bool anySelected = false;
    for (int i = 0; i < channel.eqSize && i < kMaxEqBands; ++i) {
        const CSButtonUI* marker = mControls.bands[i].marker;
        if (marker != nullptr && marker->IsSelected()) anySelected = true;
    }
    ShowBypassButton(anySelected);
}

void EqualizerManager::SetOutputBypass()
{
    const ReachedOperation reached(__func__);
    LogPrintW(L"on %s\n", L"EqualizerManager::SetOutputBypass");
    const int c = CurrentChannel();
    SceneProfile& profile = mModel.Current();
    ChannelParams& channel = profile.channels[c];
    bool anySlider = false;
    for (int b = 0; b < channel.eqSize && b < kMaxEqBands; ++b) {
        const CSliderUI* slider = mControls.bands[b].slider;
        if (slider != nullptr && slider->GetValue() != 0) anySlider = true;
    }
    if (anySlider) {
        if (!AskEq(L"${bypass_all_eq_tips}")) return;
        ShowBypassButton(false);
        channel.bypass = 1;
    } else if (!IsEqFlat(channel.bands.data(), channel.eqSize)) {
        if (!AskEq(L"${restore_all_eq_tips}")) return;
        ShowBypassButton(true);
        channel.bypass = 0;
    }
    SendEqBypass(c);
    const int group = profile.linkSel[c];
    for (int i = 0; group >= 1 && i < kOutputChannels; ++i) {
        if (profile.linkSel[i] != group) continue;
        profile.channels[i].bypass = channel.bypass;
        SendEqBypass(i);
    }
    const int partner = UpdateSyncPartner(c);
    if (partner >= 0) {
        profile.channels[partner].bypass = channel.bypass;
        SendEqBypass(partner);
    }
    ShowEqBandRows(c);
    UpdateEqualizer(-1);
}

void EqualizerManager::SetOutputEqReset()
{
    const ReachedOperation reached(__func__);
    LogPrintW(L"on %s\n", L"EqualizerManager::SetOutputEqReset");
    if (AskDestructive(mMainWnd, L"${tips}", L"${reset_all_eq_tips}") != 1) return;
    const int c = CurrentChannel();
    SceneProfile& profile = mModel.Current();
    ResetEqBands(profile.channels[c].bands.data(), profile.channels[c].eqSize);
    const int partner = UpdateSyncPartner(c);
    int members[kOutputChannels];
    const int count = EqGroupMembers(c, partner, members);
    for (int i = 0; i < count; ++i) {
        ChannelParams& member = profile.channels[members[i]];
        ResetEqBands(member.bands.data(), member.eqSize);
        for (int b = 0; b < member.eqSize && b < kMaxEqBands; ++b) SendEqBand(members[i], b);
    }
    if (partner >= 0) ResetEqBands(profile.channels[partner].bands.data(), profile.channels[partner].eqSize);
    ShowEqBandRows(c);
    // The bypass byte stays; the button tells what it is.
    ShowBypassButton(profile.channels[c].bypass != 1);
    UpdateEqualizer(-1);
    const uint8_t channels[2] = {static_cast<uint8_t>(c), static_cast<uint8_t>(partner)};
    mDevice.PEQ_Reset_Ctrl(static_cast<uint8_t>(profile.scene), 0, partner >= 0 ? 2 : 1, channels, false);
}

void EqualizerManager::SetOutputEqMode()
{
    const ReachedOperation reached(__func__);
    CSButtonUI* mode = mControls.eqMode;
    if (mode == nullptr) return;
    const bool parametric = mode->IsSelected();
    if (!AskEq(parametric ? L"${geq_mode_tips}" : L"${peq_mode_tips}")) return;
    mode->SetSelectedState(!parametric);
    mode->SetTextContent(!parametric ? L"${peq_mode}" : L"${geq_mode}");
    ShowEqBandRows(CurrentChannel());
    if (mControls.equalizer != nullptr) mControls.equalizer->SetPeqMode(!parametric);
    UpdateEqualizer(-1);
}
