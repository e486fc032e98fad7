#include "app/windows/CompressorsOnWnd.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cwchar>

#include "app/tuning/ControlText.h"
#include "app/tuning/EqualizerManager.h"
#include "app/tuning/TypedNumber.h"
#include "app/windows/LanguageFormat.h"
#include "app/windows/ScreenDpi.h"
#include "base/Log.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Option.h"
#include "uilib/control/Slider.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

struct ParamSpec {
    const wchar_t* name;
    // English; the language file's word for it, if any, is taken too.
    const wchar_t* unit;
    const wchar_t* unitKey;
    const wchar_t* format;
    int scale;  // slider units per unit
    int step;   // slider units per up/down
    bool whole;
    double unitStep;  // the finest value the unit's frame carries
};

const ParamSpec kParamSpecs[CCompressorsOnWnd::kParams] = {
    {L"threshold", L"dB", nullptr, L"%.1fdB", 10, 1, false, 0.1},
    // Times in the language's word for ms, the one the main window's delays carry.
    {L"attack_time", L"ms", L"${unit_ms}", L"${value_ms}", 1, 10, true, 1.0},
    {L"release_time", L"ms", L"${unit_ms}", L"${value_ms}", 1, 100, true, 100.0},
};

// The first parameter whose name the control's name contains, or -1.
int ParamOf(const CUIString& name)
{
    for (int p = 0; p < CCompressorsOnWnd::kParams; ++p)
        if (wcsstr(name, kParamSpecs[p].name) != nullptr) return p;
    return -1;
}

// The number after the name's last '_', or -1 when it is not a channel.
int ChannelOf(const CUIString& name)
{
    const wchar_t* underscore = wcsrchr(name, L'_');
    if (underscore == nullptr || underscore[1] < L'0' || underscore[1] > L'9') return -1;
    const long ch = wcstol(underscore + 1, nullptr, 10);
    return ch < CCompressorsOnWnd::kChannels ? static_cast<int>(ch) : -1;
}

template <class T>
T* FindIndexed(CPaintManagerUI& manager, const wchar_t* format, const wchar_t* param, int ch)
{
    wchar_t name[48];
    if (param != nullptr) _snwprintf(name, 47, format, param, ch);
    else _snwprintf(name, 47, format, ch);
    name[47] = L'\0';
    return dynamic_cast<T*>(manager.FindControlByName(name));
}

// What a parameter's edit shows for value.
CUIString ValueText(const ParamSpec& spec, double value)
{
    if (!spec.whole) return NumberText(spec.format, value);
    wchar_t text[32];
    FormatLanguageText(text, 32, spec.format, "d", static_cast<int>(value));
    return text;
}

bool StartsWith(const CUIString& name, const wchar_t* prefix)
{
    return wcsncmp(name, prefix, wcslen(prefix)) == 0;
}

// The log line of each notification kind the window takes.
const wchar_t* NotifyLine(const CUIString& type)
{
    static const struct {
        const wchar_t* type;
        const wchar_t* line;
    } kLines[] = {
        {L"selectchanged", L"on %s UI_MSGTYPE_SELECTCHANGED\n"},
        {L"killfocus", L"on %s UI_MSGTYPE_KILLFOCUS\n"},
        {L"return", L"on %s UI_MSGTYPE_RETURN\n"},
        {L"valuechanged", L"on %s UI_MSGTYPE_VALUECHANGED\n"},
        {L"movevaluechanged", L"on %s UI_MSGTYPE_VALUECHANGED_MOVE\n"},
        {L"valuechangedup", L"on %s UI_MSGTYPE_VALUECHANGED_UP\n"},
        {L"valuechangeddown", L"on %s UI_MSGTYPE_VALUECHANGED_DOWN\n"},
        {L"valuechangedright", L"on %s UI_MSGTYPE_VALUECHANGED_RIGHT\n"},
        {L"valuechangedleft", L"on %s UI_MSGTYPE_VALUECHANGED_LEFT\n"},
    };
    for (const auto& entry : kLines)
        if (type == entry.type) return entry.line;
    return nullptr;
}

} // namespace

CCompressorsOnWnd::CCompressorsOnWnd(EqualizerManager& controller) : m_controller(controller)
{
}

void CCompressorsOnWnd::OnFinalWindowMessage(HWND window)
{
    KillTimer(window, kEditsTimerId);
    WindowImplBase::OnFinalWindowMessage(window);
    delete this;
}

void CCompressorsOnWnd::OnUiBuilt()
{
    m_pm.ApplyDpi(GetScreenDpi());
    const SceneProfile& profile = m_controller.Current();
    for (int ch = 0; ch < kChannels; ++ch) {
        m_enable[ch] = FindIndexed<COptionUI>(m_pm, L"box_enable_%d", nullptr, ch);
        // Notifies, but the window does not listen yet: nothing is sent.
        if (m_enable[ch] != nullptr) m_enable[ch]->SetSelectedState(profile.channels[ch].compressorFlag != 0, false);
        for (int p = 0; p < kParams; ++p) {
            const ParamSpec& spec = kParamSpecs[p];
            m_slider[p][ch] = FindIndexed<CSliderUI>(m_pm, L"slider_%s_%d", spec.name, ch);
            m_edit[p][ch] = FindIndexed<CEditUI>(m_pm, L"edit_%s_%d", spec.name, ch);
            // A wheel notch or a click beside the thumb moves one step of the unit.
            if (m_slider[p][ch] != nullptr)
                m_slider[p][ch]->SetStep(static_cast<int>(std::lround(spec.unitStep * spec.scale)));
            ShowValue(p, ch, ModelValue(p, ch));
        }
    }
    EnableEdits(EditsReachUnit());
    SetTimer(m_window, kEditsTimerId, kEditsPollMs, nullptr);
    m_ready = true;
}

void CCompressorsOnWnd::EnableEdits(bool on)
{
    m_editsEnabled = on;
    for (int ch = 0; ch < kChannels; ++ch) {
        if (m_enable[ch] != nullptr) m_enable[ch]->SetEnabledState(on);
        for (int p = 0; p < kParams; ++p) {
            if (m_slider[p][ch] != nullptr) m_slider[p][ch]->SetEnabledState(on);
            if (m_edit[p][ch] != nullptr) m_edit[p][ch]->SetEnabledState(on);
        }
    }
}

void CCompressorsOnWnd::FollowLanguage()
{
    for (int ch = 0; ch < kChannels; ++ch) {
        for (int p = 0; p < kParams; ++p) ShowValue(p, ch, ModelValue(p, ch));
    }
    m_pm.MarkLayoutDirty();
    InvalidateRect(m_window, nullptr, TRUE);
}

double CCompressorsOnWnd::ModelValue(int p, int ch) const
{
    const CompressorSettings& c = m_controller.Current().compressorSettings;
    if (p == 0) return c.threshold[ch];
    return p == 1 ? c.attack[ch] : c.release[ch];
}

bool CCompressorsOnWnd::Store(int p, int ch, double value)
{
    CompressorSettings& c = m_controller.Current().compressorSettings;
    if (p == 0) {
        const float threshold = static_cast<float>(value);
        const bool changed = c.threshold[ch] != threshold;
        c.threshold[ch] = threshold;
        return changed;
    }
    int32_t& field = p == 1 ? c.attack[ch] : c.release[ch];
    const int32_t time = static_cast<int32_t>(value);
    const bool changed = field != time;
    field = time;
    return changed;
}

void CCompressorsOnWnd::ShowValue(int p, int ch, double value)
{
    const ParamSpec& spec = kParamSpecs[p];
    if (m_edit[p][ch] != nullptr) m_edit[p][ch]->SetTextContent(ValueText(spec, value));
    if (m_slider[p][ch] != nullptr) m_slider[p][ch]->SetValue(static_cast<int>(std::lround(value * spec.scale)));
}

bool CCompressorsOnWnd::EditsReachUnit() const
{
    return m_controller.Device().IsAsyncMode();
}

void CCompressorsOnWnd::Send(int ch)
{
    const SceneProfile& profile = m_controller.Current();
    const CompressorSettings& c = profile.compressorSettings;
    const CompressorSetting2 record = {c.threshold[ch], static_cast<uint32_t>(c.attack[ch]),
                                       static_cast<uint32_t>(c.release[ch])};
    const uint8_t channel = static_cast<uint8_t>(ch);
    m_controller.Device().Compressor_Ctrl2(static_cast<uint8_t>(profile.scene), static_cast<uint8_t>(profile.inputSource),
                                           channel, channel, &record, false);
}

void CCompressorsOnWnd::SetEdit(int p, int ch)
{
    CEditUI* edit = m_edit[p][ch];
    if (edit == nullptr) return;
    const ParamSpec& spec = kParamSpecs[p];
    // Leaving a box that was not typed into sends nothing; text that is no
    // number puts the stored value back.
    const double value = ModelValue(p, ch);
    if (!IsTyped(edit, ValueText(spec, value))) return;
    UnitWords units = {spec.unit};
    if (spec.unitKey != nullptr) units.push_back(CResourceStore::GetInstance()->LookupText(spec.unitKey).CStr());
    // Times are whole ms, so "2,000" is refused rather than read as 2.
    const CUIString text = edit->GetTextContent();
    std::optional<double> typed;
    if (!spec.whole) typed = ReadTypedDecimal(text, units);
    else if (const std::optional<int> whole = ReadTypedWhole(text, units)) typed = *whole;
    if (!typed || !EditsReachUnit()) {
        ShowValue(p, ch, value);
        return;
    }
    LogPrintW(L"SetEdit %g %s\n", *typed, spec.unit);
    Take(p, ch, *typed);
}

void CCompressorsOnWnd::SetSlider(int p, int ch)
{
    CSliderUI* slider = m_slider[p][ch];
    if (slider == nullptr) return;
    const ParamSpec& spec = kParamSpecs[p];
    if (!EditsReachUnit()) {
        ShowValue(p, ch, ModelValue(p, ch));
        return;
    }
    const double value = static_cast<double>(slider->GetValue()) / spec.scale;
    LogPrintW(L"SetSlider %g %s\n", value, spec.unit);
    Take(p, ch, value);
    if (CEditUI* edit = m_edit[p][ch]) {
        edit->TakeFocus();
        edit->SetSelection(0, -1);
    }
}

void CCompressorsOnWnd::Take(int p, int ch, double value)
{
    const ParamSpec& spec = kParamSpecs[p];
    if (CSliderUI* slider = m_slider[p][ch]) {
        value = std::clamp(value, static_cast<double>(slider->GetMinValue()) / spec.scale,
                           static_cast<double>(slider->GetMaxValue()) / spec.scale);
    }
    // What is shown and stored is what the unit will hold.
    value = NearestStep(value, spec.unitStep);
    ShowValue(p, ch, value);
    if (Store(p, ch, value)) Send(ch);
}

void CCompressorsOnWnd::SetSliderUp(int p, int ch, bool up)
{
    CSliderUI* slider = m_slider[p][ch];
    if (slider == nullptr) return;
    LogPrintW(L"SetSliderUp %s\n", slider->GetControlName().CStr());
    int v = slider->GetValue();
    if ((up && v >= slider->GetMaxValue()) || (!up && v <= slider->GetMinValue())) return;
    const int step = kParamSpecs[p].step;
    v += up ? step : -step;
    if (step != 1) v -= v % step;
    slider->SetValue(std::clamp(v, slider->GetMinValue(), slider->GetMaxValue()));
    SetSlider(p, ch);
}

void CCompressorsOnWnd::MoveFocus(int p, int ch, bool forward)
{
    ch += forward ? 1 : -1;
    if (ch >= kChannels) {
        ch = 0;
        p = (p + 1) % kParams;
    } else if (ch < 0) {
        ch = kChannels - 1;
        p = (p + kParams - 1) % kParams;
    }
    CEditUI* edit = m_edit[p][ch];
    if (edit == nullptr) return;
    edit->TakeFocus();
    edit->SetSelection(0, -1);
}

void CCompressorsOnWnd::OnParamNotify(const TNotifyInfo& notify, int p, int ch)
{
    const CUIString& type = notify.type;
    // Only the box's own: its slider loses the focus to it at a drag's first move.
    if ((type == L"killfocus" || type == L"return") && notify.sender == m_edit[p][ch])
        SetEdit(p, ch);
    else if (type == L"valuechanged" || type == L"movevaluechanged") SetSlider(p, ch);
    else if (type == L"valuechangedup") SetSliderUp(p, ch, true);
    else if (type == L"valuechangeddown") SetSliderUp(p, ch, false);
    else if (type == L"valuechangedright") MoveFocus(p, ch, true);
    else if (type == L"valuechangedleft") MoveFocus(p, ch, false);
}

void CCompressorsOnWnd::ReceiveNotify(TNotifyInfo& notify)
{
    LogPrintW(L"Notify %s\n", notify.type.CStr());
    KeepTypingPastPresses(notify);
    if (notify.sender != nullptr) {
        const CUIString name = notify.sender->GetControlName();
        const wchar_t* line = NotifyLine(notify.type);
        if (line != nullptr) LogPrintW(line, name.CStr());
        const int ch = ChannelOf(name);
        if (m_ready && line != nullptr && ch >= 0) {
            if (notify.type == L"selectchanged" && StartsWith(name, L"box_enable_") && m_enable[ch] != nullptr) {
                uint8_t& stored = m_controller.Current().channels[ch].compressorFlag;
                const uint8_t flag = m_enable[ch]->IsSelected() ? 1 : 0;
                if (!EditsReachUnit()) {
                    m_enable[ch]->SetSelectedState(stored != 0, true);
                } else {
                    stored = flag;
                    m_controller.SetChCompressor(ch, flag);
                }
            } else if (ParamOf(name) >= 0) {
                OnParamNotify(notify, ParamOf(name), ch);
            }
        }
    }
    WindowImplBase::ReceiveNotify(notify);
}

LRESULT CCompressorsOnWnd::HandleOtherMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/, bool& handled)
{
    handled = message == WM_TIMER && wParam == kEditsTimerId;
    if (handled && EditsReachUnit() != m_editsEnabled) EnableEdits(!m_editsEnabled);
    return 0;
}

void CCompressorsOnWnd::OnControlClick(TNotifyInfo& notify)
{
    if (notify.sender == nullptr) return;
    const CUIString name = notify.sender->GetControlName();
    if (name.CompareIgnoreCase(L"closebtn") == 0 || name.CompareIgnoreCase(L"cancel_btn") == 0) PostClose(0);
    else if (name.CompareIgnoreCase(L"confirm_btn") == 0) PostClose(1);
    else if (name.CompareIgnoreCase(L"third_btn") == 0) PostClose(2);
}

int ShowCompressorsOnWnd(HWND parent, EqualizerManager& controller)
{
    return static_cast<int>((new CCompressorsOnWnd(controller))->RunModalPopup(parent, L"CompressorsOnWnd"));
}
