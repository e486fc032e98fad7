#include "app/windows/AboutWnd.h"

#include <shellapi.h>

#include <cwchar>

#include "app/tuning/CarriedFirmware.h"
#include "app/windows/ScreenDpi.h"
#include "base/Log.h"
#include "uilib/core/ResourceStore.h"

using namespace SkinUI;

const wchar_t* const CAboutWnd::kSoftwareVersion = L"v6.8.7";

namespace {

constexpr wchar_t kModelText[] = L"BrisaDSP";
constexpr wchar_t kProductTitle[] = L"Brisa DSP Audio";
constexpr size_t kLineChars = 128;

CUIString Translated(const wchar_t* key)
{
    return CResourceStore::GetInstance()->LookupText(key);
}

} // namespace

void CAboutWnd::OnFinalWindowMessage(HWND window)
{
    WindowImplBase::OnFinalWindowMessage(window);
    delete this;
}

void CAboutWnd::SetText(const wchar_t* name, const wchar_t* text, bool show)
{
    CControlUI* control = m_pm.FindControlByName(name);
    if (control == nullptr) return;
    control->SetTextContent(text);
    if (show) control->SetVisibility(true);
}

void CAboutWnd::OnUiBuilt()
{
    m_pm.ApplyDpi(GetScreenDpi());
    CControlUI* company = m_pm.FindControlByName(L"company_title");
    if (company != nullptr) company->SetVisibility(false);

    wchar_t prefix[kLineChars];
    _snwprintf(prefix, kLineChars - 1, L"%s ", kModelText);
    prefix[kLineChars - 1] = L'\0';
    wchar_t line[kLineChars];
    if (m_unit.model == -1) {
        SetText(L"fw_version", prefix, false);
    } else {
        _snwprintf(line, kLineChars - 1, L"%s%s v%d.%d", prefix, Translated(L"${version}").CStr(),
                   m_unit.mainVersion, m_unit.slaveVersion);
        line[kLineChars - 1] = L'\0';
        SetText(L"fw_version", line, true);
    }
    _snwprintf(line, kLineChars - 1, L"%s %s", Translated(L"${soft_version}").CStr(), kSoftwareVersion);
    line[kLineChars - 1] = L'\0';
    SetText(L"soft_version", line, false);
    _snwprintf(line, kLineChars - 1, L"%s v%d.%d", Translated(L"${inner_fw_version}").CStr(), kCarriedMain,
               kCarriedSlave);
    line[kLineChars - 1] = L'\0';
    SetText(L"inner_fw_version", line, true);
    if (company != nullptr) company->SetTextContent(kProductTitle);
}

void CAboutWnd::ReceiveNotify(TNotifyInfo& notify)
{
    LogPrintW(L"Notify %s\n", notify.type.CStr());
    CControlUI* sender = notify.sender;
    if (notify.type == L"click" && sender != nullptr && std::wcsncmp(sender->GetControlName().CStr(), L"web_btn", 7) == 0) {
        ShellExecuteW(nullptr, L"open", sender->GetTextContent().CStr(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    WindowImplBase::ReceiveNotify(notify);
}

void CAboutWnd::OnControlClick(TNotifyInfo& notify)
{
    if (notify.sender == nullptr) return;
    const CUIString name = notify.sender->GetControlName();
    if (name.CompareIgnoreCase(L"closebtn") == 0 || name.CompareIgnoreCase(L"cancel_btn") == 0) {
        PostClose(0);
    } else if (name.CompareIgnoreCase(L"confirm_btn") == 0) {
        PostClose(1);
    } else if (name.CompareIgnoreCase(L"third_btn") == 0) {
        PostClose(2);
    }
}

int OpenAboutWnd(HWND parent, const UnitIdentity& unit)
{
    return static_cast<int>((new CAboutWnd(unit))->RunModalPopup(parent, L"msgwnd"));
}
