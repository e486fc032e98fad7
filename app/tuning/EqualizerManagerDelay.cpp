#include "app/tuning/EqualizerManager.h"
#include "app/tuning/ReachedOperation.h"

#include <cmath>
#include <cwchar>

#include "app/controls/SButtonUI.h"
#include "app/tuning/ControlText.h"
#include "app/tuning/DelayUnits.h"
#include "app/tuning/TypedNumber.h"
#include "app/windows/LanguageFormat.h"
#include "base/Log.h"
#include "uilib/control/Combo.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Slider.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

// One press of a channel's delay step: 0.021 ms in slider microseconds.
const int kDelayStepMicros = 21;
const float kSpeakerStepMs = 0.021f;

bool ValidChannel(int ch)
{
    return ch >= 0 && ch < kOutputChannels;
}

// Per display unit: the English word, taken after a typed delay in every
// language; the language's short word, taken too; the format of a box's text.
struct UnitTexts {
    const wchar_t* english;
    const wchar_t* word;
    const wchar_t* format;
};
const UnitTexts kUnitTexts[] = {
    {L"ms", L"${unit_ms}", L"${delay_ms}"},
    {L"cm", L"${unit_cm}", L"${delay_cm}"},
    {L"in", L"${unit_inch}", L"${delay_inch}"},
};

const UnitTexts& TextsOf(int unit)
{
    return kUnitTexts[unit >= 0 && unit < 3 ? unit : kDelayMs];
}

} // namespace

// "0.000 ms", "10 cm" or "4 in" in the language's format ("32″" in
// Russian); the number alone for the speaker edits.
CUIString EqualizerManager::DelayText(float ms, bool withUnit) const
{
    const int unit = DelayUnitIndex();
    const bool whole = DelayStepsPerRange(unit) != 0;
    const wchar_t* format = withUnit ? TextsOf(unit).format : (whole ? L"%d" : L"%.3f");
    wchar_t text[32];
    if (whole)
        FormatLanguageText(text, 32, format, "d", DelayInSteps(unit, ms));
    else
        FormatLanguageText(text, 32, format, "f", static_cast<double>(QuantizeDelay(kDelayMs, ms)));
    return CUIString(text);
}

std::optional<float> EqualizerManager::ReadDelayEdit(CEditUI* edit) const
{
    const int unit = DelayUnitIndex();
    const CUIString word = CResourceStore::GetInstance()->LookupText(TextsOf(unit).word);
    const std::optional<double> typed = ReadTypedDecimal(edit->GetTextContent(), {word.CStr(), TextsOf(unit).english});
    if (!typed) return std::nullopt;
    return ParseDelay(unit, static_cast<float>(*typed));
}

int EqualizerManager::DelayUnitIndex() const
{
    return mControls.delayUnit != nullptr ? mControls.delayUnit->GetSelectedIndex() : kDelayMs;
}

int EqualizerManager::ChannelOfSpeaker(int code) const
{
    if (code < 1) return -1;
    const SceneProfile& profile = mModel.Current();
    for (int ch = 0; ch < kOutputChannels; ++ch) {
        if (profile.outputs[ch] == code) return ch;
    }
    return -1;
}

void EqualizerManager::ShowChDelayText(int ch, float ms)
{
    CEditUI* edit = GetDelayEdit(ch);
    if (edit != nullptr) edit->SetTextContent(DelayText(ms, true));
}

void EqualizerManager::SetChDelaySliderValue(int ch, float micros)
{
    CSliderUI* slider = GetDelaySlider(ch);
    if (slider == nullptr) return;
    ClampToSlider(slider, micros);
    slider->SetValue(static_cast<int>(std::lround(micros)));
}

void EqualizerManager::ShowSpeakerDelayText(int k, int ch)
{
    if (k < 0 || k >= kSpeakerPositions) return;
    SpeakerControls& speaker = mControls.speakers[k];
    if (!ValidChannel(ch)) {
        if (speaker.delay != nullptr) speaker.delay->SetVisibility(false);
        if (speaker.frame != nullptr) speaker.frame->SetVisibility(false);
        return;
    }
    if (speaker.delay != nullptr) {
        speaker.delay->SetTextContent(DelayText(mModel.Current().channels[ch].delay, false));
        speaker.delay->SetVisibility(true);
    }
    if (speaker.frame != nullptr) speaker.frame->SetVisibility(true);
}

void EqualizerManager::ShowSpeakerDelay(int ch)
{
    const int code = mModel.Current().outputs[ch];
    if (code < 1 || code > kSpeakerPositions) return;
    ShowSpeakerDelayText(code - 1, ch);
    if (mControls.speakers[code - 1].speaker != nullptr) mControls.speakers[code - 1].speaker->SetVisibility(true);
}

void EqualizerManager::SendChDelay(int ch)
{
    const SceneProfile& profile = mModel.Current();
    const float delay = profile.channels[ch].delay;
    mDevice.Delay_Ctrl(static_cast<uint8_t>(profile.scene), 0, static_cast<uint8_t>(ch), static_cast<uint8_t>(ch),
                       &delay, false);
}

void EqualizerManager::StoreChDelay(int ch, float ms)
{
    if (!ValidChannel(ch)) return;
    const float delay = QuantizeDelay(DelayUnitIndex(), ms);
    mModel.Current().channels[ch].delay = delay;
    ShowChDelayText(ch, delay);
    SetChDelaySliderValue(ch, delay * 1000.0f);
    ShowSpeakerDelay(ch);
    SendChDelay(ch);
}

// The link group (bridge partners not added) and then ch's own partner
// follow by the same difference in ms.
void EqualizerManager::FollowChDelay(int ch, float delta)
{
    SceneProfile& profile = mModel.Current();
    const int group = profile.linkSel[ch];
    if (group >= 1) {
        const int partner = UpdateSyncPartner(ch);
        for (int i = 0; i < kOutputChannels; ++i) {
            if (profile.linkSel[i] != group || i == ch || i == partner) continue;
            StoreChDelay(i, profile.channels[i].delay + delta);
        }
    }
    const int partner = UpdateSyncPartner(ch);
    if (partner >= 0) StoreChDelay(partner, profile.channels[partner].delay + delta);
}

void EqualizerManager::ChangeChDelay(int ch, float ms)
{
    if (!ValidChannel(ch)) return;
    const float old = mModel.Current().channels[ch].delay;
    // The delay the channel has, taken again (as the link takes the current
    // slider), is sent as it is: moved onto the cm or inch grid it would
    // change, and the partner with it.
    if (std::lround(ms * 1000.0f) == std::lround(old * 1000.0f)) {
        SendChDelay(ch);
        // The box shows what the program writes, or every focus loss would take it again.
        ShowChDelayText(ch, old);
    } else {
        StoreChDelay(ch, ms);
    }
    CEditUI* edit = GetDelayEdit(ch);
    if (edit != nullptr) {
        edit->TakeFocus();
        edit->SetSelection(0, -1);
    }
    const float delta = mModel.Current().channels[ch].delay - old;
    if (delta != 0.0f) FollowChDelay(ch, delta);
}

void EqualizerManager::SetChDelayEdit(int ch)
{
    CEditUI* edit = GetDelayEdit(ch);
    if (edit == nullptr || !ValidChannel(ch)) return;
    const std::optional<float> ms = ReadDelayEdit(edit);
    if (!ms) {
        ShowChDelayText(ch, mModel.Current().channels[ch].delay);
        return;
    }
    LogPrintW(L"%s %d ms_value = %d\n", L"EqualizerManager::SetChDelayEdit", ch, static_cast<int>(*ms));
    ChangeChDelay(ch, *ms);
}

void EqualizerManager::LeaveChDelayEdit(int ch)
{
    const ReachedOperation reached(__func__, ch);
    if (ValidChannel(ch) && IsTyped(GetDelayEdit(ch), DelayText(mModel.Current().channels[ch].delay, true)))
        SetChDelayEdit(ch);
}

void EqualizerManager::SetChDelaySlider(int ch)
{
    const ReachedOperation reached(__func__, ch);
    CSliderUI* slider = GetDelaySlider(ch);
    if (slider != nullptr) ChangeChDelay(ch, static_cast<float>(slider->GetValue() / 1000.0));
}

void EqualizerManager::SetChDelayUp(int ch, bool up)
{
    const ReachedOperation reached(__func__, ch);
    LogPrintW(L"SetChDelayUp %d \n", ch);
    CSliderUI* slider = GetDelaySlider(ch);
    if (slider == nullptr) return;
    float value = static_cast<float>(slider->GetValue() + (up ? kDelayStepMicros : -kDelayStepMicros));
    if (!ClampToSlider(slider, value)) return;
    slider->SetValue(static_cast<int>(value));
    SetChDelaySlider(ch);
}

void EqualizerManager::SetDelayUnit()
{
    const ReachedOperation reached(__func__);
    LogPrintW(L"on eq comb_ch_unit valuechanged\n");
    LogPrintW(L"value %d\n", DelayUnitIndex());
    const SceneProfile& profile = mModel.Current();
    for (int ch = 0; ch < kOutputChannels; ++ch) ShowChDelayText(ch, profile.channels[ch].delay);
    for (int ch = 0; ch < kOutputChannels; ++ch) ShowSpeakerDelay(ch);
}

void EqualizerManager::SetSpeakerDelay(int code, float ms)
{
    const int ch = ChannelOfSpeaker(code);
    if (ch < 0 || code > kSpeakerPositions) return;
    CEditUI* edit = mControls.speakers[code - 1].delay;
    if (edit == nullptr) return;
    SceneProfile& profile = mModel.Current();
    const float old = profile.channels[ch].delay;
    profile.channels[ch].delay = ms;
    edit->SetTextContent(DelayText(ms, false));
    edit->SetSelection(0, -1);
    // The channel's own strip shows the new delay, so leaving its box or
    // linking the outputs takes nothing stale from it.
    ShowChDelayText(ch, ms);
    SetChDelaySliderValue(ch, ms * 1000.0f);
    const float delta = ms - old;
    if (delta != 0.0f) FollowChDelay(ch, delta);
    SendChDelay(ch);
}

void EqualizerManager::SetSpeakerDelayEdit(int code)
{
    const int ch = ChannelOfSpeaker(code);
    if (ch < 0 || code > kSpeakerPositions || mControls.speakers[code - 1].delay == nullptr) return;
    const std::optional<float> ms = ReadDelayEdit(mControls.speakers[code - 1].delay);
    if (!ms) {
        ShowSpeakerDelayText(code - 1, ch);
        return;
    }
    LogPrintW(L"speaker %d channel %d delay edit value %.3f\n", code, ch, static_cast<double>(*ms));
    SetSpeakerDelay(code, *ms);
}

void EqualizerManager::LeaveSpeakerDelayEdit(int code)
{
    const ReachedOperation reached(__func__, code);
    const int ch = ChannelOfSpeaker(code);
    if (ch < 0 || code > kSpeakerPositions) return;
    if (IsTyped(mControls.speakers[code - 1].delay, DelayText(mModel.Current().channels[ch].delay, false)))
        SetSpeakerDelayEdit(code);
}

void EqualizerManager::SetSpeakerDelayUp(int code, bool up)
{
    const ReachedOperation reached(__func__, code);
    const int ch = ChannelOfSpeaker(code);
    if (ch < 0) return;
    const float delay = mModel.Current().channels[ch].delay + (up ? kSpeakerStepMs : -kSpeakerStepMs);
    SetSpeakerDelay(code, ParseDelay(kDelayMs, delay));
}

void EqualizerManager::SetSpeakerDelayFocus(int code)
{
    const ReachedOperation reached(__func__, code);
    const int ch = ChannelOfSpeaker(code);
    if (ch < 0) return;
    SetCurChannelChange(ch);
    if (code <= kSpeakerPositions && mControls.speakers[code - 1].delay != nullptr) {
        mControls.speakers[code - 1].delay->SetSelection(0, -1);
    }
}
