#include "app/windows/MainWnd.h"

#include <cwchar>
#include <vector>

#include "base/Log.h"
#include "uilib/control/Edit.h"

using namespace SkinUI;

namespace {

// The boxes in order, the layout's missing ones left out.
void Add(std::vector<CEditUI*>& cycle, CEditUI* box)
{
    if (box != nullptr) cycle.push_back(box);
}

int BandCount(const SceneProfile& profile)
{
    const int count = profile.GetEqSize(profile.currOutChannel);
    return count < 0 ? 0 : (count > kMaxEqBands ? kMaxEqBands : count);
}

// The next enabled box after (step 1) or before (step -1) from; null when
// from is not in the cycle.
CEditUI* Next(const std::vector<CEditUI*>& cycle, CControlUI* from, int step)
{
    const int size = static_cast<int>(cycle.size());
    for (int i = 0; i < size; ++i) {
        if (cycle[i] != from) continue;
        for (int k = 1; k < size; ++k) {
            CEditUI* box = cycle[((i + step * k) % size + size) % size];
            if (box->GetEnabledState()) return box;
        }
        return nullptr;
    }
    return nullptr;
}

void LeaveBox(CControlUI* from, CEditUI* to)
{
    if (to == nullptr) return;
    const CUIString name = from->GetControlName();
    if (wcsncmp(name, L"eq_", 3) == 0) {
        LogPrintW(L"on eq %s killfocus index %d\n", name.CStr(),
                  static_cast<int>(wcstol(from->GetUserDataText(), nullptr, 10)));
    }
    to->TakeFocus();
}

} // namespace

void CMainWnd::MoveEditFocus(CControlUI* from, bool right)
{
    const BoundControls& c = m_controller.Controls();
    const int bands = BandCount(m_controller.Current());
    std::vector<CEditUI*> cycle;
    Add(cycle, c.mainVolumeEdit);
    for (int b = 0; b < bands; ++b) Add(cycle, c.bands[b].freq);
    for (int b = 0; b < bands; ++b) Add(cycle, c.bands[b].q);
    for (int b = 0; b < bands; ++b) Add(cycle, c.bands[b].gain);
    for (const ChannelStripControls& strip : c.channels) Add(cycle, strip.volumeEdit);
    for (const ChannelStripControls& strip : c.channels) Add(cycle, strip.delayEdit);
    Add(cycle, c.hpFreq);
    Add(cycle, c.lpFreq);
    LeaveBox(from, Next(cycle, from, right ? 1 : -1));
}

// The delay slider shows only while its box or itself has the focus.
void CMainWnd::OnFocusReleased()
{
    m_controller.SetChDelaySliderHide();
}
