#include "app/windows/MixerWnd.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <vector>

#include "app/tuning/ControlText.h"
#include "app/tuning/EqualizerManager.h"
#include "app/tuning/TypedNumber.h"
#include "app/windows/ScreenDpi.h"
#include "base/Log.h"
#include "uilib/control/Combo.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Option.h"
#include "uilib/control/Slider.h"
#include "uilib/core/DialogBuilder.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

namespace {

// One mixer at a time: a change the window makes itself (an on/off box set
// with notification) must not start a second change.
bool g_volumeReentry = false;

// A row is named by the language key of its item in the cross-source lists
// ("${csm_opt_l}", "${csm_hi_3}"), so that both read alike; only these
// sources have rows of their own.
const wchar_t* const kRowKeyStems[kInputSources] = {
    L"opt", nullptr, L"bt", nullptr, L"low", L"hi", L"dmp", nullptr, nullptr,
};

// No distortion flag is ever set in the profile, so every row shows "no
// distortion".
const wchar_t kNoDistortionImage[] = L"img/dist_ok.png";

bool StartsWith(const CUIString& name, const wchar_t* prefix)
{
    return wcsncmp(name, prefix, wcslen(prefix)) == 0;
}

CControlUI* FindControl(CPaintManagerUI& manager, const wchar_t* format, int a, int b = -1)
{
    wchar_t name[48];
    if (b < 0) _snwprintf(name, 47, format, a);
    else _snwprintf(name, 47, format, a, b);
    name[47] = L'\0';
    return manager.FindControlByName(name);
}

// The named control when it is of the kind the window needs; all optional.
template <class T>
T* FindIndexed(CPaintManagerUI& manager, const wchar_t* format, int a, int b = -1)
{
    return dynamic_cast<T*>(FindControl(manager, format, a, b));
}

void Show(CControlUI* control, bool visible)
{
    if (control != nullptr) control->SetVisibility(visible);
}

// The two numbers after prefix ("box_volume_3_1"), each checked against its
// bound; false when the name does not carry them.
bool ParseCell(const CUIString& name, const wchar_t* prefix, int& output, int& row)
{
    if (swscanf(name.CStr() + wcslen(prefix), L"%d_%d", &output, &row) != 2) return false;
    return output >= 0 && output < CMixerWnd::kOutputs && row >= 0 && row < CMixerWnd::kRows;
}

bool ParseIndex(const CUIString& name, const wchar_t* prefix, int bound, int& index)
{
    if (swscanf(name.CStr() + wcslen(prefix), L"%d", &index) != 1) return false;
    return index >= 0 && index < bound;
}

} // namespace

CMixerWnd::CMixerWnd(int source, EqualizerManager& controller)
    : m_source(std::clamp(source, 0, kInputSources - 1)),
      m_rows(std::min(GetMixerOwnRows(m_source), kOwnRows)),
      m_crossSource(true),
      m_controller(controller),
      m_profile(controller.Current()),
      m_device(controller.Device())
{
}

int CMixerWnd::MapInput(int row) const
{
    return row < kOwnRows ? row : GetCrossSourceChannel(m_source, row - kOwnRows);
}

bool CMixerWnd::RowShown(int row) const
{
    return row < m_rows || (m_crossSource && row >= kOwnRows && row < kRows);
}

int CMixerWnd::CellVolume(int output, int row) const
{
    const int bit = MapInput(row);
    if ((m_profile.inputs[m_source][output] >> bit & 1) == 0) return 0;
    const int stored = m_profile.inputMixVolume[m_source][bit][output];
    return stored == 0 ? 100 : stored;
}

bool CMixerWnd::HasBridgeButton(int pair) const
{
    return pair >= 0 && pair < kPairs && m_bridge[pair] != nullptr;
}

void CMixerWnd::OnFinalWindowMessage(HWND window)
{
    WindowImplBase::OnFinalWindowMessage(window);
    delete this;
}

void CMixerWnd::OnUiBuilt()
{
    m_pm.ApplyDpi(GetScreenDpi());
    BuildChannelNames();
    BindMatrix();
    ShowRowTitles();
    FitToRows();
    m_built = true;
}

void CMixerWnd::BuildChannelNames()
{
    const wchar_t* layout = L"xml/channel_name_area_2ch_source.xml";
    if (m_source == 5) layout = L"xml/channel_name_area_hi_source.xml";
    else if (m_source == 4) layout = L"xml/channel_name_area_low_source.xml";
    else if (m_source == 3) layout = L"xml/channel_name_area_aux_source.xml";
    CControlUI* area = m_pm.FindControlByName(L"channel_name_area");
    if (area != nullptr && area->FindInterface(L"IContainer") != nullptr) {
        CDialogBuilder builder;
        builder.BuildFromSource(layout, nullptr, nullptr, &m_pm, area);
    }
    LogPrintW(L"mSource = %d\n", m_source);
    LogPrintW(L"mHasMixerSource = %d\n", m_crossSource ? 1 : 0);
}

void CMixerWnd::BindMatrix()
{
    for (int o = 0; o < kOutputs; ++o) {
        FindControl(m_pm, L"column_%d", o);
        for (int i = 0; i < kRows; ++i) {
            const bool shown = RowShown(i);
            Show(FindControl(m_pm, L"box_%d_%d", o, i), shown);
            if (i < kRows - 1) {
                // The gap below row 11 separates own rows from the cross-source
                // rows, so a source without own rows has none.
                const bool gap = i < m_rows - 1 || (m_crossSource && ((i == kOwnRows - 1 && m_rows > 0) || i == kOwnRows));
                Show(FindControl(m_pm, L"box_grap_%d_%d", o, i), gap);
            }
            if (!shown) continue;
            m_enable[o][i] = FindIndexed<COptionUI>(m_pm, L"box_enable_%d_%d", o, i);
            m_slider[o][i] = FindIndexed<CSliderUI>(m_pm, L"box_volume_%d_%d", o, i);
            m_edit[o][i] = FindIndexed<CEditUI>(m_pm, L"box_edit_%d_%d", o, i);
            RefreshCell(o, i);
        }
    }
    for (int p = 0; p < kPairs; ++p) {
        m_bridge[p] = FindIndexed<COptionUI>(m_pm, L"ch_bridge_%d", p);
        if (m_bridge[p] != nullptr) m_bridge[p]->SetSelectedState(m_profile.bridgeOutputs[p] != 0, true);
    }
    for (int i = 0; i < kRows; ++i) BindRow(i);
}

void CMixerWnd::BindRow(int i)
{
    const bool shown = RowShown(i);
    m_phase[i] = FindIndexed<COptionUI>(m_pm, L"in_phase_%d", i);
    if (m_phase[i] != nullptr) m_phase[i]->SetSelectedState(m_profile.inMixPhase[m_source][i] != 0, true);
    CControlUI* distortion = FindControl(m_pm, L"in_distort_%d", i);
    if (distortion != nullptr) distortion->SetBackgroundImage(kNoDistortionImage);
    Show(m_phase[i], shown);
    Show(distortion, shown);
    for (const wchar_t* format : {L"left_box_%d", L"second_%d", L"in_phase_box_%d", L"title_label_%d"})
        Show(FindControl(m_pm, format, i), shown);

    CComboUI* list = FindIndexed<CComboUI>(m_pm, L"cmb_csm_vice_source_%d", i);
    LogPrintW(L"cmb_csm_vice_source_%d = 0x%08x\n", i, static_cast<unsigned>(reinterpret_cast<uintptr_t>(list)));
    for (const wchar_t* format : {L"cmb_csm_vice_source_%d", L"line_0_%d", L"line_1_%d", L"arrow_up_%d",
                                  L"csm_vice_gain_edit_%d"})
        Show(FindControl(m_pm, format, i), m_crossSource);
    const int channel = MapInput(i);
    if (i >= kOwnRows && list != nullptr) {
        const int k = i - kOwnRows;
        m_crossList[k] = list;
        SelectComboByTag(k, m_profile.crossSourceMix.source[m_source][channel],
                         m_profile.crossSourceMix.channel[m_source][channel]);
    }
    // The gain is kept per channel like the selections, so a cross-source
    // row shows the gain of its own channel.
    if (CControlUI* gain = FindControl(m_pm, L"csm_vice_gain_edit_%d", i))
        gain->SetTextContent(IntegerText(L"%ddB", m_profile.crossSourceMix.gain[m_source][channel]));
    if (i < kRows - 1) {
        const bool gap = i < m_rows - 1 || (m_crossSource && ((i == kOwnRows - 1 && m_rows > 0) || i == kOwnRows));
        for (const wchar_t* format : {L"left_grap_%d", L"second_grap_%d", L"in_phase_grap_%d"})
            Show(FindControl(m_pm, format, i), gap);
    }
}

void CMixerWnd::ShowRowTitles()
{
    const wchar_t* stem = kRowKeyStems[m_source];
    for (int i = 0; stem != nullptr && i < m_rows; ++i) {
        CControlUI* title = FindControl(m_pm, L"title_label_%d", i);
        if (title == nullptr) continue;
        wchar_t key[32];
        if (m_rows == 2) _snwprintf(key, 31, L"${csm_%s_%c}", stem, i == 0 ? L'l' : L'r');
        else _snwprintf(key, 31, L"${csm_%s_%d}", stem, i + 1);
        key[31] = L'\0';
        title->SetTextContent(CResourceStore::GetInstance()->LookupText(key));
    }
}

void CMixerWnd::FitToRows()
{
    const CUISize layout = m_pm.InitialSize();
    const int percent = m_pm.DpiScaler()->GetScalePercent();
    int height = layout.cy + (m_rows - kRows) * kRowPitch;
    if (m_crossSource) height += kCrossRows * kRowPitch;
    SetClientAreaSize(layout.cx * percent / 100, height * percent / 100);
    CenterOverOwner();
}

void CMixerWnd::RefreshCell(int o, int i)
{
    if (!RowShown(i)) return;
    const int volume = CellVolume(o, i);
    if (m_enable[o][i] != nullptr) m_enable[o][i]->SetSelectedState(volume > 0, false);
    if (m_slider[o][i] != nullptr) m_slider[o][i]->SetValue(volume);
    if (m_edit[o][i] != nullptr) m_edit[o][i]->SetTextContent(IntegerText(L"%d", volume));
}

void CMixerWnd::SendTrim(int output, int bit, int volume)
{
    const uint8_t trim = static_cast<uint8_t>(volume);
    m_device.Input_Mix_Trim_Ctrl(0, static_cast<uint8_t>(m_source), static_cast<uint8_t>(bit),
                                 static_cast<uint8_t>(output), static_cast<uint8_t>(output), &trim, false);
}

void CMixerWnd::OnVolChanged(int o, int i, int v, Origin origin)
{
    static const wchar_t kName[] = L"CMixerWnd::OnVolChanged";
    const int kind = static_cast<int>(origin);
    if (g_volumeReentry) {
        LogPrintW(L"<------%s %d %d,%d %d quit as re-entry\n", kName, kind, o, i, v);
        return;
    }
    g_volumeReentry = true;
    LogPrintW(L">>>>>>>>>>>>>>>>>%s %d %d,%d %d\n", kName, kind, o, i, v);
    const int bit = MapInput(i);
    if (v != CellVolume(o, i)) SendTrim(o, bit, v);
    m_profile.inputMixVolume[m_source][bit][o] = v;
    if (m_slider[o][i] != nullptr) m_slider[o][i]->SetValue(v);
    if (m_edit[o][i] != nullptr) m_edit[o][i]->SetTextContent(IntegerText(L"%d", v));

    int32_t& mask = m_profile.inputs[m_source][o];
    LogPrintW(L"mixEnable(%d=>%d): %d\n", o, i, v >= 1 ? 1 : 0);
    LogPrintW(L"out %d inputs = 0x%02x =>", o, mask);
    if (v >= 1) mask |= 1 << bit;
    else mask &= ~(1 << bit);
    LogTimePrefixOn.store(0);
    LogPrintW(L" 0x%02x\n", mask);
    LogTimePrefixOn.store(1);
    if (m_enable[o][i] != nullptr && m_enable[o][i]->IsSelected() != (v > 0))
        m_enable[o][i]->SetSelectedState(v > 0, false);

    if (m_profile.bridgeOutputs[o / 2] != 0) {
        // The twin is sent only what it does not have yet, so that taking an
        // unchanged edit's value sends nothing.
        const int twin = o ^ 1;
        const bool twinDiffers = CellVolume(twin, i) != v;
        int32_t& twinMask = m_profile.inputs[m_source][twin];
        twinMask = (twinMask & ~(1 << bit)) | (mask & (1 << bit));
        m_profile.inputMixVolume[m_source][bit][twin] = v;
        if (twinDiffers) SendTrim(twin, bit, v);
        RefreshCell(twin, i);
    }
    // Focus moves only for a value the user set in this cell; leaving or
    // entering an edit must not pull the focus back into it.
    if ((origin == Origin::Slider || origin == Origin::Edit) && m_edit[o][i] != nullptr) {
        m_edit[o][i]->TakeFocus();
        m_edit[o][i]->SetSelection(0, -1);
    }
    LogPrintW(L"<<<<<<<<<<<<<<<<<<<<< %s %d %d,%d %d\n", kName, kind, o, i, v);
    g_volumeReentry = false;
}

void CMixerWnd::OnEnableBtnClick(int o, int i)
{
    if (m_enable[o][i] == nullptr) return;
    const int stored = m_profile.inputMixVolume[m_source][MapInput(i)][o];
    const int v = m_enable[o][i]->IsSelected() ? (stored == 0 ? 100 : stored) : 0;
    OnVolChanged(o, i, v, Origin::EnableButton);
}

void CMixerWnd::OnVolSliderChanged(int o, int i)
{
    if (m_slider[o][i] == nullptr) return;
    OnVolChanged(o, i, m_slider[o][i]->GetValue(), Origin::Slider);
}

void CMixerWnd::OnVolEdit(int o, int i, int step, Origin origin)
{
    CEditUI* edit = m_edit[o][i];
    if (edit == nullptr) return;
    // A box only entered, left or given Enter holds what the program wrote:
    // nothing to take. A step goes from the stored value past text that is
    // no number; such text alone puts the value back.
    if (step == 0 && !IsTyped(edit, IntegerText(L"%d", CellVolume(o, i)))) return;
    const std::optional<int> typed = ReadTypedWhole(edit->GetTextContent(), {L"%"});
    if (!typed && step == 0) {
        RefreshCell(o, i);
        return;
    }
    int low = 0, high = 100;
    if (CSliderUI* slider = m_slider[o][i]) {
        low = slider->GetMinValue();
        high = slider->GetMaxValue();
    }
    const long v = std::clamp<long>(static_cast<long>(typed.value_or(CellVolume(o, i))) + step, low, high);
    OnVolChanged(o, i, static_cast<int>(v), origin);
}

void CMixerWnd::MoveFocus(int o, int i, bool forward)
{
    // The shown rows in their order; a source without own rows cycles
    // through the cross-source rows alone.
    std::vector<int> rows;
    for (int row = 0; row < kRows; ++row)
        if (RowShown(row)) rows.push_back(row);
    const auto at = std::find(rows.begin(), rows.end(), i);
    if (at == rows.end()) return;
    const int count = static_cast<int>(rows.size());
    int index = static_cast<int>(at - rows.begin());
    o += forward ? 1 : -1;
    if (o >= kOutputs) {
        o = 0;
        index = (index + 1) % count;
    } else if (o < 0) {
        o = kOutputs - 1;
        index = (index + count - 1) % count;
    }
    CEditUI* edit = m_edit[o][rows[index]];
    if (edit == nullptr) return;
    edit->TakeFocus();
    edit->SetSelection(0, -1);
}

void CMixerWnd::ClearMix()
{
    LogPrintW(L"CMixerWnd::ClearMix\n");
    for (int o = 0; o < kOutputs; ++o) {
        const int32_t before = m_profile.inputs[m_source][o];
        m_profile.inputs[m_source][o] = 0;
        // Per routing bit, so a bit two rows share is cleared and sent once.
        for (int bit = 0; bit < kInputChannels; ++bit) {
            m_profile.inputMixVolume[m_source][bit][o] = 0;
            if ((before >> bit & 1) == 0) continue;
            for (int i = 0; i < kRows; ++i)
                if (RowShown(i) && MapInput(i) == bit) RefreshCell(o, i);
            SendTrim(o, bit, 0);
        }
    }
}

void CMixerWnd::OnPhase(int i)
{
    const uint8_t flag = m_phase[i] != nullptr && m_phase[i]->IsSelected() ? 1 : 0;
    m_profile.inMixPhase[m_source][i] = flag;
    m_device.Input_Phase_Ctrl(0, static_cast<uint8_t>(m_source), static_cast<uint8_t>(i), static_cast<uint8_t>(i), &flag,
                              false);
}

// Bridging copies the first channel's mix to the twin, separating clears
// both channels' mixes: both columns are shown again.
void CMixerWnd::OnBridge(int p)
{
    const bool on = m_bridge[p] == nullptr || m_bridge[p]->IsSelected();
    m_controller.SetBridge(p, on, true, false);
    for (int o = 2 * p; o <= 2 * p + 1; ++o)
        for (int i = 0; i < kRows; ++i) RefreshCell(o, i);
}

void CMixerWnd::SetCSMViceSourceCombox(int k)
{
    CComboUI* list = m_crossList[k];
    if (list == nullptr) return;
    CControlUI* item = list->GetChildAt(list->GetSelectedIndex());
    if (item == nullptr) return;
    const long tag = wcstol(item->GetUserDataText(), nullptr, 10);
    const int second = std::min(static_cast<int>(tag / 100), kNoSecondSource);
    const int channel = static_cast<int>(tag % 100);
    const int ch = GetCrossSourceChannel(m_source, k);
    CrossSourceMix& mix = m_profile.crossSourceMix;
    mix.source[m_source][ch] = second;
    mix.channel[m_source][ch] = channel;
    LogPrintW(L"SetCSMViceSourceCombox set in_ch %d(%d) mix source: %d, ch: %d, gain: %d\n", ch, k, second, channel,
              mix.gain[m_source][ch]);
    m_device.Cross_Source_Mix_Ctrl_CS47048(0, static_cast<uint8_t>(m_source), static_cast<uint8_t>(ch),
                                           static_cast<uint8_t>(second), static_cast<uint8_t>(channel), false);
    if (second < kNoSecondSource) {
        const int other = k == 0 ? 1 : 0;
        const int otherCh = GetCrossSourceChannel(m_source, other);
        const int otherSource = mix.source[m_source][otherCh];
        const int otherChannel = mix.channel[m_source][otherCh];
        if (otherSource != kNoSecondSource && (otherSource != second || otherChannel == channel)) {
            // The other row takes the partner channel of the same source.
            int partner = channel == 0 ? 1 : 0;
            if (m_source == 5 && second == 5) partner = channel == 11 ? 10 : 11;
            SelectComboByTag(other, second, partner);
        }
    }
    list->TakeFocus();
}

void CMixerWnd::SelectComboByTag(int k, int secondSource, int channel)
{
    CComboUI* list = m_crossList[k];
    if (list == nullptr) return;
    wchar_t tag[16];
    _snwprintf(tag, 15, L"%02d%02d", secondSource, channel);
    tag[15] = L'\0';
    LogPrintW(L"tag %s from %02d %02d\n", tag, secondSource, channel);
    for (int index = 0; index < list->GetChildCount(); ++index) {
        const CUIString itemTag = list->GetChildAt(index)->GetUserDataText();
        LogPrintW(L"combox item tag[%d] = %s\n", index, itemTag.CStr());
        if (itemTag == tag) {
            list->SelectSingleItem(index, false);
            return;
        }
    }
}

void CMixerWnd::Dispatch(const CUIString& type, const CUIString& name)
{
    int o = 0, i = 0;
    if (type == L"click" && name == L"btn_reset_input") {
        ClearMix();
    } else if (type == L"selectchanged") {
        if (StartsWith(name, L"box_enable_") && ParseCell(name, L"box_enable_", o, i)) OnEnableBtnClick(o, i);
        else if (StartsWith(name, L"ch_bridge_") && ParseIndex(name, L"ch_bridge_", kPairs, i)) OnBridge(i);
        else if (StartsWith(name, L"in_phase_") && ParseIndex(name, L"in_phase_", kRows, i)) OnPhase(i);
    } else if (type == L"valuechanged" || type == L"movevaluechanged") {
        if (StartsWith(name, L"box_volume_") && ParseCell(name, L"box_volume_", o, i)) OnVolSliderChanged(o, i);
    } else if (StartsWith(name, L"box_edit_") && ParseCell(name, L"box_edit_", o, i)) {
        if (type == L"valuechangedup") OnVolEdit(o, i, 1, Origin::Edit);
        else if (type == L"valuechangeddown") OnVolEdit(o, i, -1, Origin::Edit);
        else if (type == L"valuechangedleft") MoveFocus(o, i, false);
        else if (type == L"valuechangedright") MoveFocus(o, i, true);
        else if (type == L"return") OnVolEdit(o, i, 0, Origin::Edit);
        else if (type == L"killfocus" || type == L"setfocus") OnVolEdit(o, i, 0, Origin::EditFocus);
    } else if (type == L"itemselect" && StartsWith(name, L"cmb_csm_vice_source_")) {
        LogPrintW(L"on %s UI_MSGTYPE_ITEMSELECT\n", name.CStr());
        if (ParseIndex(name, L"cmb_csm_vice_source_", kRows, i) && i >= kOwnRows) SetCSMViceSourceCombox(i - kOwnRows);
    }
}

void CMixerWnd::ReceiveNotify(TNotifyInfo& notify)
{
    LogPrintW(L"Notify %s\n", notify.type.CStr());
    KeepTypingPastPresses(notify);
    if (m_built && notify.sender != nullptr) Dispatch(notify.type, notify.sender->GetControlName());
    WindowImplBase::ReceiveNotify(notify);
}

void CMixerWnd::OnControlClick(TNotifyInfo& notify)
{
    if (notify.sender == nullptr) return;
    const CUIString name = notify.sender->GetControlName();
    if (name.CompareIgnoreCase(L"closebtn") == 0 || name.CompareIgnoreCase(L"cancel_btn") == 0) PostClose(0);
    else if (name.CompareIgnoreCase(L"confirm_btn") == 0) PostClose(1);
    else if (name.CompareIgnoreCase(L"third_btn") == 0) PostClose(2);
}

void OpenMixerWnd(HWND parent, EqualizerManager& controller)
{
    auto* window = new CMixerWnd(controller.Current().inputSource, controller);
    // A creation that failed after the window's last message has deleted it.
    if (window->CreateNativeWindow(parent, L"MixerWnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW) == nullptr) return;
    window->CenterOverOwner();
    window->RunModal();
}
