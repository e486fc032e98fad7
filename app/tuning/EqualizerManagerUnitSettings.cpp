#include "app/tuning/EqualizerManager.h"
#include "app/tuning/ReachedOperation.h"

#include <cmath>
#include <cwchar>

#include "app/controls/SButtonUI.h"
#include "app/tuning/ControlText.h"
#include "app/tuning/MainVolumePoll.h"
#include "app/tuning/TypedNumber.h"
#include "base/Log.h"
#include "uilib/control/Combo.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Option.h"
#include "uilib/control/Slider.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

const int kMainVolumeMin = -60;
const int kMainVolumeMax = 6;
const int kFirstSourceByte = 0x51;
const DWORD kOnTextColor = 0xFFFFFFFF;
const DWORD kOffTextColor = 0xFFFF0000;

CUIString OffText()
{
    return CResourceStore::GetInstance()->LookupText(L"${off}");
}

void FocusAndSelect(CEditUI* edit)
{
    if (edit == nullptr) return;
    edit->TakeFocus();
    edit->SetSelection(0, -1);
}

// The edit's whole number (unit after it or not), the slider's minimum for
// the off word, clamped through the slider when there is one; false for
// any other text.
bool ReadThroughSlider(CEditUI* edit, CSliderUI* slider, int low, int high, const UnitWords& units, int& out)
{
    const CUIString text = edit != nullptr ? edit->GetTextContent() : CUIString();
    const std::optional<int> typed = ReadTypedLevel(text, slider != nullptr ? slider->GetMinValue() : low, units);
    if (!typed) return false;
    if (slider == nullptr) {
        out = *typed < low ? low : (*typed > high ? high : *typed);
        return true;
    }
    float clamped = static_cast<float>(*typed);
    ClampToSlider(slider, clamped);
    slider->SetValue(static_cast<int>(clamped));
    out = slider->GetValue();
    return true;
}

// One step of the slider within its range; false when it is at the end.
bool StepSlider(CSliderUI* slider, bool up)
{
    if (slider == nullptr) return false;
    float value = static_cast<float>(slider->GetValue() + (up ? 1 : -1));
    if (!ClampToSlider(slider, value)) return false;
    slider->SetValue(static_cast<int>(value));
    return true;
}

struct SwitchLook {
    CSButtonUI* BoundControls::*button;
    int32_t SceneProfile::*flag;
    // Stored when the layout has no button for the switch.
    int32_t fallback;
    const wchar_t* onText;
    const wchar_t* offText;
    const wchar_t* log;
};

const SwitchLook kSwitches[] = {
    {&BoundControls::ampOnOff, &SceneProfile::ampOn, 1, L"${amp_on}", L"${amp_off}", nullptr},
    {&BoundControls::remoteOut1, &SceneProfile::remOut1On, 1, L"${rem_out1_on}", L"${rem_out1_off}",
     L"SetRemOut1OnOffButton : %d\n"},
    {&BoundControls::remoteOut2, &SceneProfile::remOut2On, 1, L"${rem_out2_on}", L"${rem_out2_off}",
     L"SetRemOut2OnOffButton : %d\n"},
    {&BoundControls::speakerOhm, &SceneProfile::speakerOhm, 1, L"${btn_2ohm_spk}", L"${btn_4ohm_spk}",
     L"SetSpkOhmButton : %d\n"},
    {&BoundControls::noiseGate, &SceneProfile::noiseGate, 0, L"${btn_noise_gate_on}", L"${btn_noise_gate_off}",
     L"SetNoiseGateButton : %d\n"},
};

} // namespace

void EqualizerManager::ShowMainVolumeText(int db)
{
    if (db == kMainVolumeMin) LogPrintW(L"SetMainVolumeEditText OFF\n");
    const CUIString text = db == kMainVolumeMin ? OffText() : IntegerText(L"%ddB", db);
    LogPrintW(L"SetMainVolumeEditText %s\n", text.CStr());
    if (mControls.mainVolumeEdit != nullptr) mControls.mainVolumeEdit->SetTextContent(text);
}

void EqualizerManager::ApplyMainVolume(int db)
{
    LogPrintW(L"SetMainVolumeRelatedAfterDecidedValue %g\n", static_cast<double>(db));
    Current().mainVolume = db;
    // The unit takes the attenuation below +6 dB.
    mDevice.Main_Volume_Ctrl(static_cast<float>(kMainVolumeMax - db), false);
    ShowMainVolumeText(db);
    FocusAndSelect(mControls.mainVolumeEdit);
    ApplyMainMute(false);
}

void EqualizerManager::SetMainVolumeSlider()
{
    const ReachedOperation reached(__func__);
    CSliderUI* slider = mControls.mainVolumeSlider;
    if (slider == nullptr) return;
    LogPrintW(L"SetMainVolumeSlider %g\n", static_cast<double>(slider->GetValue()));
    ApplyMainVolume(slider->GetValue());
}

void EqualizerManager::SetMainVolumeEdit()
{
    const ReachedOperation reached(__func__);
    if (mControls.mainVolumeEdit == nullptr) return;
    LogPrintW(L"SetMainVolumeEdit %s\n", mControls.mainVolumeEdit->GetTextContent().CStr());
    int db = 0;
    if (ReadThroughSlider(mControls.mainVolumeEdit, mControls.mainVolumeSlider, kMainVolumeMin, kMainVolumeMax, {L"dB"}, db))
        ApplyMainVolume(db);
    else
        ShowMainVolumeText(Current().mainVolume);
}

void EqualizerManager::SetMainVolumeUp(bool up)
{
    const ReachedOperation reached(__func__);
    LogPrintW(L"SetMainVolumeUp %d \n", up ? 1 : 0);
    if (StepSlider(mControls.mainVolumeSlider, up)) SetMainVolumeSlider();
}

bool EqualizerManager::IsMainVolumeTyped() const
{
    const int db = mModel.Current().mainVolume;
    return IsTyped(mControls.mainVolumeEdit, db == kMainVolumeMin ? OffText() : IntegerText(L"%ddB", db));
}

void EqualizerManager::ApplyMainMute(bool on)
{
    if (mControls.mainMute != nullptr) mControls.mainMute->SetSelectedState(on, true);
    LogPrintW(L"set main mute to %d\n", on ? 1 : 0);
    Current().mainVolumeMute = on ? 1 : 0;
    mDevice.Mute_Ctrl(on ? 1 : 0, false);
}

void EqualizerManager::SetMainMute()
{
    const ReachedOperation reached(__func__);
    if (mControls.mainMute == nullptr) return;
    ApplyMainMute(mControls.mainMute->IsSelected());
}

void EqualizerManager::ShowAccText(int value)
{
    CEditUI* edit = mControls.accEdit;
    if (edit == nullptr) return;
    const bool off = mControls.accSlider != nullptr && value == mControls.accSlider->GetMinValue();
    edit->SetTextContent(off ? OffText() : IntegerText(L"%d", value));
}

void EqualizerManager::ApplyAcc(int value)
{
    LogPrintW(L"SetAccRelatedAfterDecidedValue %d\n", value);
    Current().acc = value;
    mDevice.Set_Acc(static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value)), false);
    ShowAccText(value);
    FocusAndSelect(mControls.accEdit);
}

void EqualizerManager::SetAccSlider()
{
    const ReachedOperation reached(__func__);
    CSliderUI* slider = mControls.accSlider;
    if (slider == nullptr) return;
    LogPrintW(L"SetAccSlider %g\n", static_cast<double>(slider->GetValue()));
    ApplyAcc(slider->GetValue());
}

void EqualizerManager::SetAccEdit()
{
    const ReachedOperation reached(__func__);
    if (mControls.accEdit == nullptr) return;
    LogPrintW(L"SetAccEdit %s\n", mControls.accEdit->GetTextContent().CStr());
    int value = 0;
    if (ReadThroughSlider(mControls.accEdit, mControls.accSlider, 0, 255, {}, value))
        ApplyAcc(value);
    else
        ShowAccText(Current().acc);
}

void EqualizerManager::SetAccUp(bool up)
{
    const ReachedOperation reached(__func__);
    LogPrintW(L"SetAccUp %d \n", up ? 1 : 0);
    if (StepSlider(mControls.accSlider, up)) SetAccSlider();
}

bool EqualizerManager::IsAccTyped() const
{
    const int value = mModel.Current().acc;
    const bool off = mControls.accSlider != nullptr && value == mControls.accSlider->GetMinValue();
    return IsTyped(mControls.accEdit, off ? OffText() : IntegerText(L"%d", value));
}

void EqualizerManager::SetInputSource()
{
    const ReachedOperation reached(__func__);
    if (mQuietSelect || mControls.inputSource == nullptr) return;
    const int source = mControls.inputSource->GetSelectedIndex();
    LogPrintW(L"on %s index %d\n", L"EqualizerManager::SetInputSource", source);
    if (source < 0 || source >= kInputSources) return;
    Current().inputSource = source;
    for (int o = 0; o < kOutputChannels; ++o) ShowInputRouting(o, true);
    if (mControls.connect == nullptr || !mControls.connect->IsSelected()) return;
    // Queued, never waited for here: the unit's main volume follows the
    // source, and the poll asks for it behind it in the queue.
    mDevice.Source_Switch_Ctrl(static_cast<uint8_t>(kFirstSourceByte + source), false);
    if (mMainWnd != nullptr) StartGetMainVolumeTimer(mMainWnd);
}

void EqualizerManager::SetInputIn(int input, int output)
{
    const ReachedOperation reached(__func__, output);
    LogPrintW(L"SetInputIn in %d out %d\n", input, output);
    SceneProfile& profile = Current();
    const int source = profile.inputSource;
    if (input < 0 || input >= kRoutedInputs || !SceneProfile::IsChannel(output) || source < 0 || source >= kInputSources)
        return;
    COptionUI* option = mControls.channels[output].inputs[input];
    if (option == nullptr) return;
    int32_t& mask = profile.inputs[source][output];
    const bool was = (mask >> input & 1) != 0;
    const bool on = option->IsSelected();
    if (on)
        mask |= 1 << input;
    else
        mask &= ~(1 << input);
    LogPrintW(L"outCh %d input = 0x%x\n", output, mask);
    const uint32_t sent = static_cast<uint32_t>(mask);
    mDevice.Mix_Ch_Ctrl(static_cast<uint8_t>(profile.scene), static_cast<uint8_t>(source), static_cast<uint8_t>(output),
                        static_cast<uint8_t>(output), &sent, false);
    int32_t& volume = profile.inputMixVolume[source][input][output];
    if (!on || was || volume != 0) return;
    // A newly routed input is heard at full level, not silently.
    volume = 100;
    const uint8_t trim = 100;
    mDevice.Input_Mix_Trim_Ctrl(0, static_cast<uint8_t>(source), static_cast<uint8_t>(input), static_cast<uint8_t>(output),
                                static_cast<uint8_t>(output), &trim, false);
}

void EqualizerManager::ShowSwitchState(UnitSwitch which, bool on)
{
    const SwitchLook& look = kSwitches[static_cast<int>(which)];
    CSButtonUI* button = mControls.*look.button;
    if (button == nullptr) {
        Current().*look.flag = look.fallback;
        return;
    }
    Current().*look.flag = on ? 1 : 0;
    button->SetTextContent(on ? look.onText : look.offText);
    button->SetSelectedState(on);
    button->SetTextColor(on ? kOnTextColor : kOffTextColor);
}

void EqualizerManager::ToggleSwitch(UnitSwitch which)
{
    const SwitchLook& look = kSwitches[static_cast<int>(which)];
    CSButtonUI* button = mControls.*look.button;
    const bool on = button == nullptr || !button->IsSelected();
    ShowSwitchState(which, on);
    if (look.log != nullptr) LogPrintW(look.log, on ? 1 : 0);
    const SceneProfile& p = Current();
    switch (which) {
    case UnitSwitch::Amp: mDevice.Amp_Mute_Ctrl(p.ampOn != 0 ? 0 : 1, false); break;
    case UnitSwitch::RemOut1:
    case UnitSwitch::RemOut2: mDevice.Rem_Out_Ctrl(p.remOut1On != 0, p.remOut2On != 0, false); break;
    case UnitSwitch::SpeakerOhm: mDevice.Spk_Ohm_Ctrl(p.speakerOhm != 0, false); break;
    case UnitSwitch::NoiseGate: mDevice.Noise_Gate_Ctrl(p.noiseGate != 0, false); break;
    }
}

void EqualizerManager::SwitchAmpOnOff() { const ReachedOperation reached(__func__); ToggleSwitch(UnitSwitch::Amp); }
void EqualizerManager::SwitchRemOut1() { const ReachedOperation reached(__func__); ToggleSwitch(UnitSwitch::RemOut1); }
void EqualizerManager::SwitchRemOut2() { const ReachedOperation reached(__func__); ToggleSwitch(UnitSwitch::RemOut2); }
void EqualizerManager::SwitchSpkOhm() { const ReachedOperation reached(__func__); ToggleSwitch(UnitSwitch::SpeakerOhm); }
void EqualizerManager::SwitchNoiseGate() { const ReachedOperation reached(__func__); ToggleSwitch(UnitSwitch::NoiseGate); }
void EqualizerManager::ShowAmpState(bool on) { ShowSwitchState(UnitSwitch::Amp, on); }
void EqualizerManager::ShowRemOut1State(bool on) { ShowSwitchState(UnitSwitch::RemOut1, on); }
void EqualizerManager::ShowRemOut2State(bool on) { ShowSwitchState(UnitSwitch::RemOut2, on); }
void EqualizerManager::ShowSpkOhmState(bool on) { ShowSwitchState(UnitSwitch::SpeakerOhm, on); }
void EqualizerManager::ShowNoiseGateState(bool on) { ShowSwitchState(UnitSwitch::NoiseGate, on); }
