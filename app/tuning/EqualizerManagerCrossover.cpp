#include "app/tuning/EqualizerManager.h"
#include "app/tuning/ReachedOperation.h"

#include <cwchar>

#include "app/controls/SButtonUI.h"
#include "app/tuning/ControlText.h"
#include "app/tuning/EqBandRules.h"
#include "app/tuning/ProfileRules.h"
#include "app/tuning/TypedNumber.h"
#include "base/Log.h"
#include "uilib/control/Button.h"
#include "uilib/control/Combo.h"
#include "uilib/control/Edit.h"
#include "uilib/control/MenuElement.h"

using namespace SkinUI;

// What tells the high-pass side from the low-pass side; everything else of
// the editor is the same for both.
struct EqualizerManager::FilterSide {
    bool highPass;
    int iFilter;
    FilterParams CrossoverParams::*filter;
    void (CrossoverParams::*setFreq)(int32_t);
    void (CrossoverParams::*setType)(int32_t);
    void (CrossoverParams::*setSlope)(int32_t);
    CEditUI* BoundControls::*freqEdit;
    CComboUI* BoundControls::*typeCombo;
    CComboUI* BoundControls::*slopeCombo;
    const wchar_t* freqLog;
    const wchar_t* stepLog;
    const wchar_t* typeLog;
    const wchar_t* slopeLog;
};

namespace {

const int kHighPassFilter = 2;
const int kLowPassFilter = 1;
const int kOddSlopeItems[] = {1, 3, 5, 7};
const int kIconSize = 18;
// Channels 9 to 16 sit on the right: their sub-menus open to the left.
const int kLeftOpeningChannel = 8;
const uint32_t kLeftSubMenuAlign = 44;

void WriteFreq(CEditUI* edit, int32_t freq)
{
    if (edit == nullptr) return;
    wchar_t text[16];
    _snwprintf(text, 15, L"%dHz", freq);
    text[15] = L'\0';
    edit->SetTextContent(text);
}

CUIString ItemText(CComboUI* combo, int index)
{
    CControlUI* item = combo != nullptr && index >= 0 ? combo->GetChildAt(index) : nullptr;
    return item != nullptr ? item->GetTextContent() : CUIString();
}

int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

} // namespace

void EqualizerManager::SelectQuietly(CComboUI* combo, int index)
{
    if (combo == nullptr || index < 0 || index >= combo->GetChildCount()) return;
    const bool quiet = mQuietSelect;
    mQuietSelect = true;
    combo->SelectSingleItem(index, false);
    mQuietSelect = quiet;
}

void EqualizerManager::ShowSlopeItems(CComboUI* slope, int type)
{
    if (slope == nullptr) return;
    for (int item : kOddSlopeItems) {
        CControlUI* row = slope->GetChildAt(item);
        if (row != nullptr) row->SetVisibility(type != kEvenSlopeType);
    }
}

void EqualizerManager::SendFilter(int ch, int iFilter)
{
    if (!SceneProfile::IsChannel(ch)) return;
    const SceneProfile& profile = Current();
    const FilterParams& f = iFilter == kHighPassFilter ? profile.channels[ch].crossover.hp : profile.channels[ch].crossover.lp;
    mDevice.Filter_Ctrl(static_cast<uint8_t>(profile.scene), 0, static_cast<uint8_t>(ch), static_cast<uint8_t>(iFilter),
                        static_cast<uint32_t>(f.fs), static_cast<uint8_t>(f.slope), static_cast<uint8_t>(f.type), false);
}

template <class Change>
void EqualizerManager::FollowFilter(int ch, int iFilter, Change change)
{
    SceneProfile& profile = Current();
    const int group = profile.linkSel[ch];
    if (group < 1) return;
    for (int i = 0; i < kOutputChannels; ++i) {
        if (i == ch || profile.linkSel[i] != group) continue;
        change(profile.channels[i].crossover);
        SendFilter(i, iFilter);
    }
}

void EqualizerManager::SetFreqDivider(int ch)
{
    if (!SceneProfile::IsChannel(ch)) return;
    const CrossoverParams& x = Current().channels[ch].crossover;
    SelectQuietly(mControls.hpType, x.GetHpType());
    SelectQuietly(mControls.lpType, x.GetLpType());
    LogPrintW(L"on SetFreqDivider getHPType %d\n", x.GetHpType());
    LogPrintW(L"on SetFreqDivider getLPType %d\n", x.GetLpType());
    LogPrintW(L"on SetFreqDivider getHPFs %d\n", x.GetHpFreq());
    LogPrintW(L"on SetFreqDivider getLPFs %d\n", x.GetLpFreq());
    WriteFreq(mControls.hpFreq, x.GetHpFreq());
    WriteFreq(mControls.lpFreq, x.GetLpFreq());
    LogPrintW(L"on SetFreqDivider getHPSlope %d\n", x.GetHpSlope());
    LogPrintW(L"on SetFreqDivider getLPSlope %d\n", x.GetLpSlope());
    // The slope rows follow the loaded type, as after choosing it.
    ShowSlopeItems(mControls.hpSlope, x.GetHpType());
    ShowSlopeItems(mControls.lpSlope, x.GetLpType());
    SelectQuietly(mControls.hpSlope, x.GetHpSlope());
    SelectQuietly(mControls.lpSlope, x.GetLpSlope());
}

void EqualizerManager::SetFilterFreq(const FilterSide& side)
{
    const int c = CurrentChannel();
    if (!SceneProfile::IsChannel(c)) return;
    CEditUI* edit = mControls.*side.freqEdit;
    const std::optional<int> typed = edit != nullptr ? ReadTypedFrequency(edit->GetTextContent()) : std::nullopt;
    SceneProfile& profile = Current();
    const CrossoverParams& own = profile.channels[c].crossover;
    if (!typed) {
        WriteFreq(edit, (own.*side.filter).fs);
        return;
    }
    LogPrintW(side.freqLog, *typed);
    int32_t f = Clamp(*typed, kCrossoverMinFreq, kCrossoverMaxFreq);
    // The high-pass stays at or below the low-pass.
    if (side.highPass && f > own.GetLpFreq()) f = own.GetLpFreq();
    if (!side.highPass && f < own.GetHpFreq()) f = own.GetHpFreq();
    (profile.channels[c].crossover.*side.setFreq)(f);
    const int partner = UpdateSyncPartner(c);
    if (partner >= 0) (profile.channels[partner].crossover.*side.setFreq)(f);
    FollowFilter(c, side.iFilter, [&](CrossoverParams& x) { (x.*side.setFreq)(f); });
    WriteFreq(edit, f);
    if (edit != nullptr) edit->SetSelection(0, -1);
    UpdateEqualizer(-1);
    SendFilter(c, side.iFilter);
    SendFilter(partner, side.iFilter);
}

void EqualizerManager::StepFilterFreq(const FilterSide& side, bool up)
{
    LogPrintW(side.stepLog, up ? 1 : 0);
    const int c = CurrentChannel();
    if (!SceneProfile::IsChannel(c)) return;
    const CrossoverParams& x = Current().channels[c].crossover;
    const int32_t f = (x.*side.filter).fs;
    if ((up && f >= kCrossoverMaxFreq) || (!up && f <= kCrossoverMinFreq)) return;
    int32_t next = NextEqFrequency(f, up);
    if (side.highPass && next > x.GetLpFreq()) next = x.GetLpFreq();
    if (!side.highPass && next < x.GetHpFreq()) next = x.GetHpFreq();
    WriteFreq(mControls.*side.freqEdit, next);
    SetFilterFreq(side);
}

void EqualizerManager::SetFilterType(const FilterSide& side)
{
    if (mQuietSelect) return;
    const int c = CurrentChannel();
    CComboUI* combo = mControls.*side.typeCombo;
    if (!SceneProfile::IsChannel(c) || combo == nullptr) return;
    const int t = combo->GetSelectedIndex();
    LogPrintW(side.typeLog, ItemText(combo, t).CStr(), t);
    SceneProfile& profile = Current();
    if (t == (profile.channels[c].crossover.*side.filter).type) return;
    // Type 2 lists even slopes only: the slope shown is the one stored and sent.
    auto setType = [&](CrossoverParams& x) {
        (x.*side.setType)(t);
        const int32_t shown = SlopeForType(t, (x.*side.filter).slope);
        if (shown != (x.*side.filter).slope) (x.*side.setSlope)(shown);
    };
    setType(profile.channels[c].crossover);
    CComboUI* slope = mControls.*side.slopeCombo;
    SelectQuietly(slope, (profile.channels[c].crossover.*side.filter).slope);
    ShowSlopeItems(slope, t);
    const int partner = UpdateSyncPartner(c);
    if (partner >= 0) setType(profile.channels[partner].crossover);
    FollowFilter(c, side.iFilter, setType);
    UpdateEqualizer(-1);
    SendFilter(c, side.iFilter);
    SendFilter(partner, side.iFilter);
}

void EqualizerManager::SetFilterSlope(const FilterSide& side)
{
    if (mQuietSelect) return;
    const int c = CurrentChannel();
    CComboUI* combo = mControls.*side.slopeCombo;
    if (!SceneProfile::IsChannel(c) || combo == nullptr) return;
    const int s = combo->GetSelectedIndex();
    LogPrintW(side.slopeLog, ItemText(combo, s).CStr(), s);
    SceneProfile& profile = Current();
    if (s == (profile.channels[c].crossover.*side.filter).slope) return;
    (profile.channels[c].crossover.*side.setSlope)(s);
    FollowFilter(c, side.iFilter, [&](CrossoverParams& x) { (x.*side.setSlope)(s); });
    const int partner = UpdateSyncPartner(c);
    if (partner >= 0) (profile.channels[partner].crossover.*side.setSlope)(s);
    UpdateEqualizer(-1);
    SendFilter(c, side.iFilter);
    SendFilter(partner, side.iFilter);
}

bool EqualizerManager::IsFilterFreqTyped(bool highPass) const
{
    const FilterSide& side = Side(highPass);
    const int c = CurrentChannel();
    if (!SceneProfile::IsChannel(c)) return false;
    return IsTyped(mControls.*side.freqEdit,
                   IntegerText(L"%dHz", (mModel.Current().channels[c].crossover.*side.filter).fs));
}

void EqualizerManager::SetHpFreq() { const ReachedOperation reached(__func__); SetFilterFreq(Side(true)); }
void EqualizerManager::SetLpFreq() { const ReachedOperation reached(__func__); SetFilterFreq(Side(false)); }
void EqualizerManager::SetHpFreqUp(bool up) { const ReachedOperation reached(__func__); StepFilterFreq(Side(true), up); }
void EqualizerManager::SetLpFreqUp(bool up) { const ReachedOperation reached(__func__); StepFilterFreq(Side(false), up); }
void EqualizerManager::SetHpType() { const ReachedOperation reached(__func__); SetFilterType(Side(true)); }
void EqualizerManager::SetLpType() { const ReachedOperation reached(__func__); SetFilterType(Side(false)); }
void EqualizerManager::SetHpSlop() { const ReachedOperation reached(__func__); SetFilterSlope(Side(true)); }
void EqualizerManager::SetLpSlop() { const ReachedOperation reached(__func__); SetFilterSlope(Side(false)); }

void EqualizerManager::ShowSpeakerPositions()
{
    const SceneProfile& profile = Current();
    for (int i = 0; i < kOutputChannels; ++i) {
        CButtonUI* button = mControls.channels[i].outputButton;
        if (button != nullptr) button->SetTextContent(GetOutputSpeakerTextOrEmpty(profile.outputs[i]));
    }
    // Each part is set once to what it shows: hiding a speaker on the way
    // would end a press held on it.
    for (int k = 0; k < kSpeakerPositions; ++k) {
        const int ch = ChannelOfSpeaker(k + 1);
        ShowSpeakerDelayText(k, ch);
        if (mControls.speakers[k].speaker != nullptr) mControls.speakers[k].speaker->SetVisibility(ch >= 0);
    }
}

void EqualizerManager::SetOutputValue(int ch, const wchar_t* itemName, int keepBackup)
{
    LogPrintW(L"SetOutputValue channel %d selected value %s\n", ch, itemName != nullptr ? itemName : L"");
    const int code = GetOutputCodeByName(itemName);
    // A group row or a foreign name has no code: nothing is assigned.
    if (!SceneProfile::IsChannel(ch) || code < 0) return;
    SceneProfile& profile = Current();
    profile.outputs[ch] = code;
    if (keepBackup == 0) profile.outputs_bk[ch] = code;
    profile.channels[ch].crossover = GetDefaultCrossover(code);
    if (ch == CurrentChannel()) SetFreqDivider(ch);
    ShowSpeakerPositions();
    UpdateEqualizer(-1);
    CSButtonUI* enable = mControls.channels[ch].enable;
    if (enable != nullptr)
        enable->ActivateControl();
    else
        SetCurChannelChange(ch);
    const uint8_t type = static_cast<uint8_t>(code);
    mDevice.CH_Type_Ctrl(static_cast<uint8_t>(profile.scene), 0, static_cast<uint8_t>(ch), static_cast<uint8_t>(ch),
                         &type, false);
    SendFilter(ch, kHighPassFilter);
    SendFilter(ch, kLowPassFilter);
    SendChTrim(ch);
}

void EqualizerManager::MarkOutputMenuItem(CMenuElementUI* item, const wchar_t* name, int ch)
{
    if (item == nullptr) return;
    const int code = GetOutputCodeByName(name);
    const SceneProfile& profile = Current();
    item->SetIcon(code >= 0 && profile.IsOutputCodeUsed(code) ? L"right.png" : L"");
    item->SetEnabledState(code >= 0 && profile.IsOutputCodeFree(code, ch));
    item->SetIconSize(kIconSize, kIconSize);
    if (ch >= kLeftOpeningChannel) item->SetSubMenuAlign(kLeftSubMenuAlign);
}

const EqualizerManager::FilterSide& EqualizerManager::Side(bool highPass)
{
    static const FilterSide kHigh = {
        true, kHighPassFilter, &CrossoverParams::hp, &CrossoverParams::SetHpFreq, &CrossoverParams::SetHpType,
        &CrossoverParams::SetHpSlope, &BoundControls::hpFreq, &BoundControls::hpType, &BoundControls::hpSlope,
        L"set hp freq to %d \n", L"SetHpFreqUp up(%d)\n", L"set hp type to %s index %d\n", L"set hp slop to %s index %d\n"};
    static const FilterSide kLow = {
        false, kLowPassFilter, &CrossoverParams::lp, &CrossoverParams::SetLpFreq, &CrossoverParams::SetLpType,
        &CrossoverParams::SetLpSlope, &BoundControls::lpFreq, &BoundControls::lpType, &BoundControls::lpSlope,
        L"set lp freq to %d \n", L"SetLpFreqUp up(%d)\n", L"set lp type to %s index %d\n", L"set lp slop to %s index %d\n"};
    return highPass ? kHigh : kLow;
}
