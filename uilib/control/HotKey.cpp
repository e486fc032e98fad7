#include "uilib/control/HotKey.h"

#include <cwchar>

#include "uilib/control/HotKeyWnd.h"
#include "uilib/control/NativeOverlay.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

// Keys whose names need the extended-key bit: Page Up to Down arrow,
// Insert and Delete.
bool IsExtendedKey(uint16_t key)
{
    return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE;
}

} // namespace

CHotKeyUI::CHotKeyUI() : COverlayLabelUI(false, true), m_nativeBkColor(0xFFFFFFFF), m_key(0), m_modifiers(0)
{
    m_textPadding = CUIRect(4, 3, 4, 3);
    SetBackgroundColor(0xFFFFFFFF);
}

const wchar_t* CHotKeyUI::GetTypeName() const
{
    return L"HotKeyUI";
}

void* CHotKeyUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"HotKey") == 0) return this;
    return CLabelUI::FindInterface(name);
}

uint32_t CHotKeyUI::GetBehaviorFlags() const
{
    return GetEnabledState() ? (UIFLAG_TABSTOP | UIFLAG_SETCURSOR) : CLabelUI::GetBehaviorFlags();
}

CHotKeyWnd* CHotKeyUI::GetEditor() const
{
    return static_cast<CHotKeyWnd*>(GetOverlay());
}

COverlayWnd* CHotKeyUI::CreateOverlay()
{
    return new CHotKeyWnd();
}

CUIString CHotKeyUI::KeyName(uint16_t key)
{
    const UINT scan = MapVirtualKeyExW(key, MAPVK_VK_TO_VSC, GetKeyboardLayout(0));
    LONG code = static_cast<LONG>(scan << 16);
    if (IsExtendedKey(key)) code |= 0x100 << 16;
    wchar_t name[260] = {};
    GetKeyNameTextW(code, name, 260);
    return CUIString(name);
}

CUIString CHotKeyUI::ComposeHotKeyName(uint16_t key, uint16_t modifiers)
{
    CUIString text;
    if (key == 0 && modifiers == 0) return text;
    const struct {
        uint16_t bit;
        uint16_t key;
    } kModifiers[] = {{kModControl, VK_CONTROL}, {kModShift, VK_SHIFT}, {kModAlt, VK_MENU}};
    for (const auto& modifier : kModifiers) {
        if ((modifiers & modifier.bit) == 0) continue;
        text += KeyName(modifier.key);
        text += L" + ";
    }
    text += KeyName(key);
    return text;
}

void CHotKeyUI::SetHotKey(uint16_t key, uint16_t modifiers)
{
    m_key = key;
    m_modifiers = modifiers;
}

void CHotKeyUI::SetTextContent(const wchar_t* text)
{
    m_text = text;
    if (CHotKeyWnd* editor = GetEditor()) {
        if (editor->GetNativeHandle() != nullptr) SetWindowTextW(editor->GetNativeHandle(), m_text);
    }
    RequestRepaint();
}

void CHotKeyUI::SetPosition(const RECT& rc, bool invalidate)
{
    CLabelUI::SetPosition(rc, invalidate);
    // An open editor follows the control.
    CHotKeyWnd* editor = GetEditor();
    if (editor != nullptr && editor->GetNativeHandle() != nullptr) {
        const CUIRect native = NativeRect();
        SetWindowPos(editor->GetNativeHandle(), nullptr, native.left, native.top, native.Width(), native.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CHotKeyUI::DropFocusWhenHidden()
{
    if (!GetVisibility() && HasOverlay() && m_manager != nullptr) m_manager->SetFocusControl(nullptr);
}

void CHotKeyUI::VisibilityChanged(bool wasVisible, bool own)
{
    CLabelUI::VisibilityChanged(wasVisible, own);
    DropFocusWhenHidden();
}

void CHotKeyUI::SetEnabledState(bool enabled)
{
    CLabelUI::SetEnabledState(enabled);
    if (!GetEnabledState()) m_overlayState = 0;
}

void CHotKeyUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    CUIString* image = nullptr;
    if (std::wcscmp(name, L"normalimage") == 0)
        image = &m_images.normal;
    else if (std::wcscmp(name, L"hotimage") == 0)
        image = &m_images.hot;
    else if (std::wcscmp(name, L"focusedimage") == 0)
        image = &m_images.focused;
    else if (std::wcscmp(name, L"disabledimage") == 0)
        image = &m_images.disabled;
    if (image != nullptr) {
        *image = value;
        RequestRepaint();
    } else if (std::wcscmp(name, L"nativebkcolor") == 0) {
        m_nativeBkColor = ParseAttrColor(value, false);
    } else {
        CLabelUI::ApplyAttribute(name, value);
    }
}

CUISize CHotKeyUI::MeasureDesiredSize(CUISize available)
{
    if (m_fixedSize.cy != 0 || m_manager == nullptr) return CLabelUI::MeasureDesiredSize(available);
    const TFontEntry* font = m_manager->FontEntry(m_font);
    return CUISize(GetScaledFixedWidth(), (font != nullptr ? font->metrics.tmHeight : 0) + 6);
}

CUIRect CHotKeyUI::NativeRect() const
{
    const CUIRect padding = ScaledTextPadding();
    CUIRect rc(m_item.left + padding.left, m_item.top + padding.top, m_item.right - padding.right,
               m_item.bottom - padding.bottom);
    return m_manager != nullptr ? CenterOnFontHeight(*m_manager, m_font, rc) : rc;
}

void CHotKeyUI::PaintStateImage(HDC dc)
{
    m_images.Paint(*this, dc, m_overlayState);
}

void CHotKeyUI::PaintTextLayer(HDC dc)
{
    if (m_manager == nullptr) return;
    ResolveDefaultTextColors();
    const CUIRect padding = ScaledTextPadding();
    RECT rc = {m_item.left + padding.left, m_item.top + padding.top, m_item.right - padding.right,
               m_item.bottom - padding.bottom};
    CRenderKit::DrawPlainText(dc, m_manager, rc, GetTextContent(),
                              GetEnabledState() ? m_textColor : m_disabledTextColor, m_font,
                              m_textStyle | DT_SINGLELINE);
}

} // namespace SkinUI
