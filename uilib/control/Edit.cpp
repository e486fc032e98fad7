#include "uilib/control/Edit.h"

#include <cwchar>

#include "uilib/control/EditWnd.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CEditUI::CEditUI()
    : m_window(nullptr),
      m_maxChar(255),
      m_readOnly(false),
      m_passwordMode(false),
      m_autoSelectAll(false),
      m_passwordChar(L'*'),
      m_editState(0),
      m_tipValueColor(0xFFBAC0C5),
      m_nativeBkColor(0xFFFFFFFF),
      m_nativeTextColor(0),
      m_nativeStyle(0),
      m_destroying(false)
{
    m_textPadding = CUIRect(4, 3, 4, 3);
    SetBackgroundColor(0xFFFFFFFF);
}

CEditUI::~CEditUI()
{
    // The native window must neither reach this box nor outlive it.
    // Destroying the focused native window hands the focus back to the paint
    // window, which offers it to this box again: it must not reopen.
    m_destroying = true;
    if (m_window != nullptr) {
        CEditWnd* window = m_window;
        m_window = nullptr;
        window->DetachOwnerAndDestroy();
    }
}

CControlUI* CEditUI::CreateControlInstance()
{
    return new CEditUI();
}

const wchar_t* CEditUI::GetTypeName() const
{
    return L"EditUI";
}

void* CEditUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && CompareTextIgnoreCase(name, L"Edit") == 0) return this;
    return CLabelUI::FindInterface(name);
}

uint32_t CEditUI::GetBehaviorFlags() const
{
    return GetEnabledState() ? (UIFLAG_TABSTOP | UIFLAG_SETCURSOR) : 0;
}

HWND CEditUI::GetNativeWindow() const
{
    return m_window != nullptr ? m_window->GetNativeHandle() : nullptr;
}

void CEditUI::SetTextContent(const wchar_t* text)
{
    m_text = text != nullptr ? text : L"";
    m_shownText = m_text;
    HWND native = GetNativeWindow();
    if (native != nullptr) SetWindowTextW(native, m_text);
    RequestRepaint();
}

void CEditUI::SetPosition(const RECT& rc, bool invalidate)
{
    CLabelUI::SetPosition(rc, invalidate);
    HWND native = GetNativeWindow();
    if (native == nullptr) return;
    const CUIRect place = m_window->PlacementRect();
    SetWindowPos(native, nullptr, place.left, place.top, place.Width(), place.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CEditUI::OffsetBy(int dx, int dy, bool invalidate)
{
    CLabelUI::OffsetBy(dx, dy, invalidate);
    HWND native = GetNativeWindow();
    if (native == nullptr) return;
    const CUIRect place = m_window->PlacementRect();
    SetWindowPos(native, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CEditUI::CloseIfHidden()
{
    if (GetVisibility() || m_window == nullptr || m_manager == nullptr) return;
    m_manager->SetFocusControl(nullptr);
    // Taking the focus away is what closes the native window.
    HWND native = GetNativeWindow();
    if (native != nullptr && GetFocus() == native) SetFocus(m_manager->WindowHandle());
}

void CEditUI::VisibilityChanged(bool wasVisible, bool own)
{
    CLabelUI::VisibilityChanged(wasVisible, own);
    CloseIfHidden();
}

void CEditUI::SetEnabledState(bool enabled)
{
    CLabelUI::SetEnabledState(enabled);
    if (!GetEnabledState()) m_editState = 0;
}

void CEditUI::SendEditNotify(const wchar_t* type)
{
    if (m_manager != nullptr) m_manager->SendNotification(this, type, 0, 0, false);
}

bool CEditUI::OpenNativeWindow()
{
    if (m_destroying) return false;
    CEditWnd* window = new CEditWnd();
    if (!window->Init(this)) {
        delete window;
        return false;
    }
    m_window = window;
    return true;
}

void CEditUI::HandleEvent(TEventInfo& event)
{
    const int type = event.type;
    const bool enabled = GetEnabledState();

    // The wheel steps the value instead of scrolling the container.
    if (type == UIEVENT_SCROLLWHEEL && enabled) {
        const WORD direction = LOWORD(event.wParam);
        if (direction == 0) {
            SendEditNotify(L"valuechangedup");
            OutputDebugStringW(L"SB_LINEUP\n");
            return;
        }
        if (direction == 1) {
            SendEditNotify(L"valuechangeddown");
            OutputDebugStringW(L"SB_LINEDOWN\n");
            return;
        }
    }
    if (IgnoresMouseEvent(event)) {
        if (!PassToParent(event)) CLabelUI::HandleEvent(event);
        return;
    }
    if (type == UIEVENT_SETCURSOR && enabled) {
        SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
        return;
    }
    if (type == UIEVENT_WINDOWSIZE && m_window != nullptr && m_manager != nullptr) {
        m_manager->FocusAfterLayout(this);
    }
    if (type == UIEVENT_SCROLLWHEEL && m_window != nullptr) return;
    if (type == UIEVENT_SETFOCUS && enabled) {
        if (m_window != nullptr) return;
        OpenNativeWindow();
        RequestRepaint();
    }
    if (type == UIEVENT_KILLFOCUS) {
        // The box left closes its edit window even when that never held the
        // keys (opened as a notice or the minimise took them): left open, it
        // would take the next click over the box, and the box left unnoticed.
        if (m_window != nullptr) PostMessageW(GetNativeWindow(), WM_CLOSE, 0, 0);
        if (enabled) RequestRepaint();
    }
    if (type == UIEVENT_BUTTONDOWN || type == UIEVENT_DBLCLICK || type == UIEVENT_RBUTTONDOWN) {
        if (!enabled) return;
        if (m_manager != nullptr) m_manager->HandPressAway();
        if (HasFocus() && m_window == nullptr) {
            if (OpenNativeWindow() && PtInRect(&m_item, event.point)) {
                const int length = m_text.Length();
                SetSelection(0, length > 0 ? length : 1);
            }
        } else if (m_window != nullptr && !m_autoSelectAll) {
            HWND native = GetNativeWindow();
            SendMessageW(native, EM_SETSEL, 0, 0);
            const CUIRect padding = ScaledTextPadding();
            const int x = event.point.x - (m_item.left + padding.left);
            const int y = event.point.y - (m_item.top + padding.top);
            SendMessageW(native, WM_LBUTTONDOWN, event.wParam, MAKELPARAM(x, y));
        }
        return;
    }
    if (type == UIEVENT_MOUSEMOVE || type == UIEVENT_BUTTONUP || type == UIEVENT_CONTEXTMENU) return;
    if (type == UIEVENT_MOUSEENTER) {
        if (PtInRect(&m_item, event.point) && enabled && !(m_editState & kStateHot)) {
            m_editState |= kStateHot;
            RequestRepaint();
        }
    }
    if (type == UIEVENT_MOUSELEAVE) {
        if (enabled) {
            m_editState &= ~kStateHot;
            RequestRepaint();
        }
        return;
    }
    CLabelUI::HandleEvent(event);
}

void CEditUI::SetReadOnly(bool on)
{
    if (m_readOnly == on) return;
    m_readOnly = on;
    HWND native = GetNativeWindow();
    if (native != nullptr) SendMessageW(native, EM_SETREADONLY, on ? TRUE : FALSE, 0);
    RequestRepaint();
}

void CEditUI::SetNumberOnly(bool on)
{
    if (on) m_nativeStyle |= ES_NUMBER;
    else m_nativeStyle &= ~static_cast<DWORD>(ES_NUMBER);
}

void CEditUI::SetPasswordMode(bool on)
{
    if (m_passwordMode == on) return;
    m_passwordMode = on;
    RequestRepaint();
    HWND native = GetNativeWindow();
    if (native == nullptr) return;
    LONG style = GetWindowLongW(native, GWL_STYLE);
    style = on ? (style | ES_PASSWORD) : (style & ~ES_PASSWORD);
    SetWindowLongW(native, GWL_STYLE, style);
    // The style alone does not change the masking of an existing edit window.
    SendMessageW(native, EM_SETPASSWORDCHAR, on ? m_passwordChar : 0, 0);
    InvalidateRect(native, nullptr, TRUE);
}

void CEditUI::SetPasswordChar(wchar_t ch)
{
    if (m_passwordChar == ch) return;
    m_passwordChar = ch;
    // Outside password mode a mask character would start masking the text.
    HWND native = GetNativeWindow();
    if (native != nullptr && m_passwordMode) SendMessageW(native, EM_SETPASSWORDCHAR, ch, 0);
    RequestRepaint();
}

void CEditUI::SetMaxChar(uint32_t count)
{
    m_maxChar = count;
    HWND native = GetNativeWindow();
    if (native != nullptr) SendMessageW(native, EM_LIMITTEXT, count, 0);
}

void CEditUI::SetNormalImage(const wchar_t* text)
{
    m_images.normal = text;
    RequestRepaint();
}

void CEditUI::SetHotImage(const wchar_t* text)
{
    m_images.hot = text;
    RequestRepaint();
}

void CEditUI::SetFocusedImage(const wchar_t* text)
{
    m_images.focused = text;
    RequestRepaint();
}

void CEditUI::SetDisabledImage(const wchar_t* text)
{
    m_images.disabled = text;
    RequestRepaint();
}

CUIString CEditUI::GetTipValue() const
{
    return CResourceStore::GetInstance()->LookupText(m_tipValue);
}

void CEditUI::SetTipValueColor(const wchar_t* text)
{
    m_tipValueColor = ParseAttrColor(text, false);
}

void CEditUI::SetNativeTextColor(const wchar_t* text)
{
    m_nativeTextColor = ParseAttrColor(text, false);
}

void CEditUI::RestoreTyping(const wchar_t* typed)
{
    m_text = typed != nullptr ? typed : L"";
    HWND native = GetNativeWindow();
    if (native != nullptr) SetWindowTextW(native, m_text);
    RequestRepaint();
}

void CEditUI::DropTyping()
{
    const CUIString shown = m_shownText;
    SetTextContent(shown);
}

CEditUI* CEditUI::FocusedTyping(const CPaintManagerUI* manager)
{
    CControlUI* focus = manager != nullptr ? manager->FocusControl() : nullptr;
    auto* box = focus != nullptr ? static_cast<CEditUI*>(focus->FindInterface(L"Edit")) : nullptr;
    return box != nullptr && box->HoldsTyping() ? box : nullptr;
}

bool CEditUI::KeyboardInBox()
{
    wchar_t name[16] = {};
    const HWND focus = GetFocus();
    return focus != nullptr && GetClassNameW(focus, name, 16) > 0 && wcscmp(name, CEditWnd::kClassName) == 0;
}

void CEditUI::SetSelection(int start, int end)
{
    HWND native = GetNativeWindow();
    if (native != nullptr) SendMessageW(native, EM_SETSEL, start, end);
}

void CEditUI::SelectAll()
{
    SetSelection(0, -1);
}

void CEditUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (AttrNameEquals(name, L"readonly")) SetReadOnly(ParseAttrBool(value));
    else if (AttrNameEquals(name, L"numberonly")) SetNumberOnly(ParseAttrBool(value));
    // Skins rely on this one being exact in name and value.
    else if (wcscmp(name, L"autoselall") == 0) SetAutoSelectAll(wcscmp(value, L"true") == 0);
    else if (AttrNameEquals(name, L"password")) SetPasswordMode(ParseAttrBool(value));
    else if (AttrNameEquals(name, L"passwordchar")) SetPasswordChar(value[0]);
    else if (AttrNameEquals(name, L"maxchar")) SetMaxChar(static_cast<uint32_t>(ParseAttrInt(value)));
    else if (AttrNameEquals(name, L"normalimage")) SetNormalImage(value);
    else if (AttrNameEquals(name, L"hotimage")) SetHotImage(value);
    else if (AttrNameEquals(name, L"focusedimage")) SetFocusedImage(value);
    else if (AttrNameEquals(name, L"disabledimage")) SetDisabledImage(value);
    else if (AttrNameEquals(name, L"tipvalue")) SetTipValue(value);
    else if (AttrNameEquals(name, L"tipvaluecolor")) SetTipValueColor(value);
    else if (AttrNameEquals(name, L"nativetextcolor")) SetNativeTextColor(value);
    else if (AttrNameEquals(name, L"nativebkcolor")) SetNativeBkColor(ParseAttrColor(value, false));
    else CLabelUI::ApplyAttribute(name, value);
}

CUISize CEditUI::MeasureDesiredSize(CUISize available)
{
    if (m_fixedSize.cy != 0 || m_manager == nullptr) return CControlUI::MeasureDesiredSize(available);
    TFontEntry* font = m_manager->FontEntry(m_font);
    return CUISize(GetScaledFixedWidth(), (font != nullptr ? font->metrics.tmHeight : 0) + 6);
}

void CEditUI::PaintStateImage(HDC dc)
{
    m_images.Paint(*this, dc, m_editState);
}

void CEditUI::PaintTextLayer(HDC dc)
{
    if (m_manager == nullptr) return;
    ResolveDefaultTextColors();
    const CUIString text = GetTextContent();
    const CUIString tip = GetTipValue();

    CUIString shown;
    DWORD color;
    if (text.IsEmpty() || text == tip) {
        shown = tip;
        color = m_tipValueColor;
    } else {
        if (m_passwordMode) {
            for (const wchar_t* p = text.CStr(); *p != L'\0'; p = CharNextW(p)) shown += m_passwordChar;
        } else {
            shown = text;
        }
        color = m_textColor;
    }
    if (!GetEnabledState()) color = m_disabledTextColor;

    // The same padding as the native window is placed with.
    const CUIRect padding = ScaledTextPadding();
    RECT rc = m_item;
    rc.left += padding.left;
    rc.top += padding.top;
    rc.right -= padding.right;
    rc.bottom -= padding.bottom;
    CRenderKit::DrawPlainText(dc, m_manager, rc, shown, color, m_font, m_textStyle | DT_SINGLELINE);
}

} // namespace SkinUI
