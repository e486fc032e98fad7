#include "app/windows/MainWnd.h"

#include <cwchar>
#include <cwctype>

#include "base/Log.h"

using namespace SkinUI;

namespace {

// The decimal index a per-channel, per-band or per-speaker control carries
// in its user data; 0 when there is none.
int IndexOf(CControlUI* control)
{
    const CUIString text = control->GetUserDataText();
    return static_cast<int>(wcstol(text, nullptr, 10));
}

bool StartsWith(const CUIString& name, const wchar_t* prefix)
{
    return wcsncmp(name, prefix, wcslen(prefix)) == 0;
}

enum class Match { Is, StartsWith };

struct ClickRule {
    const wchar_t* name;
    Match match;
    void (*action)(CMainWnd& window, CControlUI* control, int index);
};

// Clicks by control name, tested in order; the first match ends the dispatch.
const ClickRule kClickRules[] = {
    {L"btnConnect", Match::Is, [](CMainWnd& w, CControlUI*, int) { w.Controller().ConnectDevice(true); }},
};

} // namespace

void CMainWnd::ReceiveNotify(TNotifyInfo& notify)
{
    LogPrintW(L"Notify %s\n", notify.type.CStr());
    if (notify.type == L"click" && notify.sender != nullptr) {
        if (notify.sender->GetControlName().CompareIgnoreCase(L"minbtn") == 0) {
            SendToWindow(WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return;
        }
        OnClick(notify.sender);
    }
    WindowImplBase::ReceiveNotify(notify);
}

void CMainWnd::OnClick(CControlUI* control)
{
    const CUIString name = control->GetControlName();
    for (const ClickRule& rule : kClickRules) {
        const bool matches = rule.match == Match::Is ? name == rule.name : StartsWith(name, rule.name);
        if (!matches) continue;
        rule.action(*this, control, IndexOf(control));
        return;
    }
}
