#include "app/windows/NoiseThresholdWnd.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>

#include "app/tuning/ControlText.h"
#include "app/tuning/EqualizerManager.h"
#include "app/tuning/TypedNumber.h"
#include "app/windows/ScreenDpi.h"
#include "base/Log.h"
#include "device/DspRecords.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Progress.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

const WPARAM kNoiseReply = 39;

bool StartsWith(const CUIString& name, const wchar_t* prefix)
{
    return wcsncmp(name, prefix, wcslen(prefix)) == 0;
}

CUIString OffText()
{
    return CResourceStore::GetInstance()->LookupText(L"${off}");
}

CControlUI* FindIndexed(CPaintManagerUI& manager, const wchar_t* format, int index)
{
    wchar_t name[32];
    _snwprintf(name, 31, format, index);
    name[31] = L'\0';
    return manager.FindControlByName(name);
}

} // namespace

CNoiseThresholdWnd::CNoiseThresholdWnd(EqualizerManager& controller) : m_controller(controller)
{
}

void CNoiseThresholdWnd::OnFinalWindowMessage(HWND window)
{
    KillTimer(window, kPollTimer);
    DspDevice& device = m_controller.Device();
    if (device.mDspValueWnd == window) device.mDspValueWnd = nullptr;
    WindowImplBase::OnFinalWindowMessage(window);
    delete this;
}

void CNoiseThresholdWnd::OnUiBuilt()
{
    m_pm.ApplyDpi(GetScreenDpi());
    m_closeButton = m_pm.FindControlByName(L"closebtn");
    m_valueEdit = m_pm.FindControlByName(L"value_edt");
    const SceneProfile& profile = m_controller.Current();
    ShowThreshold(profile.inputThreshold);
    m_channelCount = GetInputExtraChannels(profile.inputSource);
    for (int i = 0; i < kChannels; ++i) {
        m_progress[i] = FindIndexed(m_pm, L"progress_%d", i);
        if (auto* bar = dynamic_cast<CProgressUI*>(m_progress[i])) bar->SetValue(-100);
        m_noiseText[i] = FindIndexed(m_pm, L"noise_%d", i);
        if (i < m_channelCount) continue;
        if (CControlUI* label = FindIndexed(m_pm, L"in_%d", i)) label->SetVisibility(false);
        if (CControlUI* group = FindIndexed(m_pm, L"prg_group_%d", i)) group->SetVisibility(false);
    }
    DspDevice& device = m_controller.Device();
    device.mDspValueWnd = m_window;
    // A source without channels has no levels to ask for.
    if (device.IsDeviceOpen() && m_channelCount > 0) SetTimer(m_window, kPollTimer, kPollMs, nullptr);
    FitToChannels();
}

void CNoiseThresholdWnd::FitToChannels()
{
    const CUISize layout = m_pm.InitialSize();
    const int percent = m_pm.DpiScaler()->GetScalePercent();
    const int width = ((std::max(m_channelCount, 6) - kChannels) * 50 + layout.cx) * percent / 100;
    const int height = layout.cy * percent / 100;
    SetWindowPos(m_window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CUIString CNoiseThresholdWnd::ThresholdText(int value) const
{
    if (value < kThresholdOff + 1) return OffText();
    wchar_t text[16];
    _snwprintf(text, 15, L"%ddBu", value);
    text[15] = L'\0';
    return text;
}

void CNoiseThresholdWnd::ShowThreshold(int value)
{
    if (m_valueEdit != nullptr) m_valueEdit->SetTextContent(ThresholdText(value));
}

std::optional<int> CNoiseThresholdWnd::TypedThreshold() const
{
    const CUIString text = m_valueEdit != nullptr ? m_valueEdit->GetTextContent() : CUIString();
    return ReadTypedLevel(text, kThresholdOff, {L"dBu"});
}

void CNoiseThresholdWnd::TakeTypedThreshold()
{
    const int stored = m_controller.Current().inputThreshold;
    if (!IsTyped(m_valueEdit, ThresholdText(stored))) return;
    const std::optional<int> typed = TypedThreshold();
    if (typed) SetThreshold(*typed);
    else ShowThreshold(stored);
}

void CNoiseThresholdWnd::StepThreshold(int step)
{
    SetThreshold(TypedThreshold().value_or(m_controller.Current().inputThreshold) + step);
    SelectValue();
}

void CNoiseThresholdWnd::SelectValue()
{
    if (m_valueEdit == nullptr) return;
    m_valueEdit->TakeFocus();
    if (auto* edit = dynamic_cast<CEditUI*>(m_valueEdit)) edit->SetSelection(0, -1);
}

void CNoiseThresholdWnd::SetThreshold(int value)
{
    value = std::clamp(value, kThresholdOff, kThresholdMax);
    LogPrintW(L"on input threshold edit change to %d dB\n", value);
    ShowThreshold(value);
    m_controller.Current().inputThreshold = value;
    m_controller.Device().Input_Ch_Threshold_Ctrl(static_cast<int8_t>(value), false);
}

void CNoiseThresholdWnd::ShowLevels(const void* record)
{
    const auto* levels = static_cast<const dsp::DspNoiseRecord*>(record);
    LogPrintA("input noise value %.1f %.1f %.1f %.1f %.2f %.1f\n", levels->level[0], levels->level[1],
              levels->level[2], levels->level[3], levels->level[4], levels->level[5]);
    for (int i = 0; i < m_channelCount; ++i) {
        const float level = levels->level[i];
        if (m_noiseText[i] != nullptr) {
            wchar_t text[24];
            _snwprintf(text, 23, L" %.1f", level);
            text[23] = L'\0';
            m_noiseText[i]->SetTextContent(text);
        }
        if (auto* bar = dynamic_cast<CProgressUI*>(m_progress[i])) bar->SetValue(static_cast<int>(level));
    }
}

void CNoiseThresholdWnd::Finish(UINT code)
{
    m_stopped = true;
    KillTimer(m_window, kPollTimer);
    PostClose(code);
}

void CNoiseThresholdWnd::OnControlClick(TNotifyInfo& notify)
{
    if (notify.sender == nullptr) return;
    const CUIString name = notify.sender->GetControlName();
    if (notify.sender == m_closeButton || name.CompareIgnoreCase(L"cancel_btn") == 0) Finish(0);
    else if (name.CompareIgnoreCase(L"confirm_btn") == 0) Finish(1);
}

void CNoiseThresholdWnd::ReceiveNotify(TNotifyInfo& notify)
{
    LogPrintW(L"Notify %s\n", notify.type.CStr());
    KeepTypingPastPresses(notify);
    const CUIString name = notify.sender != nullptr ? notify.sender->GetControlName() : CUIString();
    if (StartsWith(name, L"value_edt")) {
        if (notify.type == L"valuechangedup") StepThreshold(1);
        else if (notify.type == L"valuechangeddown") StepThreshold(-1);
        else if (notify.type == L"killfocus") TakeTypedThreshold();
        else if (notify.type == L"return") {
            TakeTypedThreshold();
            SelectValue();
        }
    }
    WindowImplBase::ReceiveNotify(notify);
}

LRESULT CNoiseThresholdWnd::HandleKeyDown(UINT /*message*/, WPARAM wParam, LPARAM /*lParam*/, bool& handled)
{
    handled = false;
    if (wParam == VK_UP) StepThreshold(1);
    else if (wParam == VK_DOWN) StepThreshold(-1);
    return 0;
}

LRESULT CNoiseThresholdWnd::HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    handled = false;
    if (message == WM_TIMER && wParam == kPollTimer) {
        LogPrintW(L"WM_TIMER %d\n", static_cast<int>(kPollTimer));
        if (!m_stopped && m_channelCount > 0)
            m_controller.Device().Get_Input_Noise(0, static_cast<uint8_t>(m_channelCount - 1), false);
        handled = true;
    } else if (message == WM_READ_DSP_VALUE && wParam == kNoiseReply) {
        void* record = reinterpret_cast<void*>(lParam);
        if (record != nullptr) ShowLevels(record);
        dsp::FreeDspRecord(record);
        handled = true;
    }
    return 0;
}

int ShowNoiseThresholdWnd(HWND parent, EqualizerManager& controller)
{
    return static_cast<int>((new CNoiseThresholdWnd(controller))->RunModalPopup(parent, L"msgwnd"));
}
