#include "uilib/control/IPAddressEx.h"

#include <cstdio>
#include <cwchar>

#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

const COLORREF kActiveBack = RGB(51, 153, 255);
const COLORREF kActiveText = RGB(255, 255, 255);

COLORREF ToColorRef(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

} // namespace

CIPAddressExUI::CIPAddressExUI() : m_octets{0, 0, 0, 0}, m_activeField(0), m_advanced(false)
{
    // The native edit never takes input: the control edits by itself.
    SetReadOnly(true);
    SyncText();
}

const wchar_t* CIPAddressExUI::GetTypeName() const
{
    return L"IPAddressExUI";
}

void* CIPAddressExUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"IPAddress") == 0) return this;
    return CEditUI::FindInterface(name);
}

uint32_t CIPAddressExUI::GetBehaviorFlags() const
{
    return GetEnabledState() ? (UIFLAG_TABSTOP | UIFLAG_SETCURSOR) : CEditUI::GetBehaviorFlags();
}

int CIPAddressExUI::GetOctet(int field) const
{
    return field >= 1 && field <= 4 ? m_octets[field - 1] : 0;
}

void CIPAddressExUI::SyncText()
{
    CUIString text;
    text.Printf(L"%d.%d.%d.%d", m_octets[0], m_octets[1], m_octets[2], m_octets[3]);
    SetTextContent(text);
}

void CIPAddressExUI::CommitTyping()
{
    if (m_activeField < 1 || m_activeField > 4) return;
    int value = 0;
    for (int i = 0; i < m_typed.Length(); ++i) {
        const wchar_t ch = m_typed.CharAt(i);
        if (ch < L'0' || ch > L'9') break;
        value = value * 10 + (ch - L'0');
        if (value > 255) value = 255;
    }
    m_octets[m_activeField - 1] = value;
    SyncText();
}

void CIPAddressExUI::TypeDigit(wchar_t digit)
{
    // A full field takes no more digits; a fourth would only overflow.
    if (m_typed.Length() >= kMaxDigits) return;
    m_typed += digit;
    CommitTyping();
    if (m_typed.Length() == kMaxDigits && m_activeField < 4) {
        ++m_activeField;
        m_typed.Clear();
        m_advanced = true;
    }
}

void CIPAddressExUI::StepActive(int delta)
{
    if (m_activeField < 1 || m_activeField > 4) return;
    int& octet = m_octets[m_activeField - 1];
    if ((delta > 0 && octet < 255) || (delta < 0 && octet > 0)) octet += delta;
    SyncText();
}

void CIPAddressExUI::MoveToField(int field)
{
    if (!m_typed.IsEmpty()) {
        CommitTyping();
        m_typed.Clear();
    }
    m_activeField = field;
    RequestRepaint();
}

void CIPAddressExUI::OnKeyDown(WPARAM key)
{
    const bool advanced = m_advanced;
    m_advanced = false;
    if ((key == VK_OEM_PERIOD || key == VK_DECIMAL) && advanced) return;
    if (key == VK_DELETE || key == VK_BACK) {
        if (m_activeField >= 1 && m_activeField <= 4) m_octets[m_activeField - 1] = 0;
        m_typed.Clear();
        SyncText();
    } else if (key >= '0' && key <= '9') {
        if (m_activeField > 0) TypeDigit(static_cast<wchar_t>(key));
    } else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
        if (m_activeField > 0) TypeDigit(static_cast<wchar_t>(L'0' + (key - VK_NUMPAD0)));
    } else if (key == VK_UP) {
        StepActive(1);
    } else if (key == VK_DOWN) {
        StepActive(-1);
    } else if (key == VK_LEFT) {
        if (m_activeField >= 2) MoveToField(m_activeField - 1);
    } else if (key == VK_RIGHT || key == VK_OEM_PERIOD || key == VK_DECIMAL) {
        if (m_activeField < 4) MoveToField(m_activeField + 1);
    }
}

void CIPAddressExUI::HandleEvent(TEventInfo& event)
{
    const bool enabled = GetEnabledState();
    switch (event.type) {
    case UIEVENT_KILLFOCUS:
        if (enabled) {
            m_activeField = 0;
            RequestRepaint();
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
    case UIEVENT_RBUTTONDOWN: {
        if (!enabled) return;
        m_typed.Clear();
        m_advanced = false;
        const int w = m_item.Width() / 4;
        const int d = event.point.x - m_item.left;
        m_activeField = d <= w ? 1 : (d <= 2 * w ? 2 : (d <= 3 * w ? 3 : 4));
        SyncText();
        RequestRepaint();
        break;
    }
    case UIEVENT_SCROLLWHEEL:
        if (!enabled) return;
        StepActive(event.wParam == 0 ? 1 : -1);
        break;
    case UIEVENT_KEYDOWN:
        if (!enabled) return;
        OnKeyDown(event.wParam);
        break;
    default:
        break;
    }
    CLabelUI::HandleEvent(event);
}

void CIPAddressExUI::PaintTextLayer(HDC dc)
{
    if (m_manager == nullptr) return;
    ResolveDefaultTextColors();
    if (GetTextContent().IsEmpty()) return;
    const CUIRect padding = ScaledTextPadding();
    const RECT rc = {m_item.left + padding.left, m_item.top + padding.top, m_item.right - padding.right,
                     m_item.bottom - padding.bottom};
    const bool enabled = GetEnabledState();
    const COLORREF color = ToColorRef(enabled ? m_textColor : m_disabledTextColor);
    HGDIOBJ oldFont = SelectObject(dc, m_manager->FontHandle(m_font));
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, color);
    const UINT style = m_textStyle | DT_SINGLELINE | DT_NOPREFIX;
    const int width = rc.right - rc.left;
    const int q = width / 4;
    for (int i = 1; i <= 3; ++i) {
        RECT dot = {rc.left + i * q, rc.top, rc.right, rc.bottom};
        DrawTextA(dc, ".", 1, &dot, style);
    }
    const bool blank = m_octets[0] == 0 && m_octets[1] == 0 && m_octets[2] == 0 && m_octets[3] == 0;
    if (!blank || m_activeField != 0) {
        for (int i = 1; i <= 4; ++i) {
            char digits[8];
            const int length = std::snprintf(digits, sizeof(digits), "%d", m_octets[i - 1]);
            RECT cell = {rc.left + (i - 1) * q + width / 8, rc.top, rc.right, rc.bottom};
            if (enabled && i == m_activeField) {
                SetBkMode(dc, OPAQUE);
                SetBkColor(dc, kActiveBack);
                ::SetTextColor(dc, kActiveText);
            }
            DrawTextA(dc, digits, length < 3 ? length : 3, &cell, style);
            SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, color);
        }
    }
    SelectObject(dc, oldFont);
}

} // namespace SkinUI
