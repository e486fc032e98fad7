#include "uilib/control/DateTime.h"

#include <cwchar>

#include "uilib/control/DateTimeWnd.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CDateTimeUI::CDateTimeUI() : COverlayLabelUI(true, false), m_time(), m_updateMode(kUpdateNone)
{
    GetLocalTime(&m_time);
    ShowDate();
}

const wchar_t* CDateTimeUI::GetTypeName() const
{
    return L"DateTimeUI";
}

void* CDateTimeUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"DateTime") == 0) return this;
    return CLabelUI::FindInterface(name);
}

CUIString CDateTimeUI::FormatDate(const SYSTEMTIME& time)
{
    CUIString text;
    text.Printf(L"%4d-%02d-%02d", time.wYear, time.wMonth, time.wDay);
    return text;
}

void CDateTimeUI::RefreshText()
{
    if (m_updateMode == kUpdateClear)
        SetTextContent(L"");
    else if (m_updateMode == kUpdateShow)
        SetTextContent(FormatDate(m_time));
}

void CDateTimeUI::ShowDate()
{
    m_updateMode = kUpdateShow;
    RefreshText();
    m_updateMode = kUpdateNone;
}

void CDateTimeUI::SetDateTime(const SYSTEMTIME& time)
{
    m_time = time;
    RequestRepaint();
    ShowDate();
}

COverlayWnd* CDateTimeUI::CreateOverlay()
{
    return new CDateTimeWnd();
}

CDateTimeWnd* CDateTimeUI::GetPicker() const
{
    return static_cast<CDateTimeWnd*>(GetOverlay());
}

} // namespace SkinUI
