#include "uilib/control/Combo.h"

#include <cwchar>

#include "uilib/control/ComboWnd.h"
#include "uilib/control/ListNavigation.h"
#include "uilib/control/ListStyleAttributes.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

CComboUI::CComboUI()
    : m_dropDown(nullptr),
      m_selected(-1),
      m_textColor(0),
      m_hotTextColor(0),
      m_disabledTextColor(0),
      m_font(-1),
      m_textStyle(DT_VCENTER | DT_SINGLELINE),
      m_showHtml(false),
      m_showShadow(false),
      m_dropBoxSize(0, 150),
      m_buttonState(0),
      m_scrollSelect(true)
{
    m_style.textStyle = DT_VCENTER;
}

CComboUI::~CComboUI()
{
    // The drop-down holds the rows and points back here: close it first.
    CloseDropDownNow();
}

const wchar_t* CComboUI::GetTypeName() const
{
    return L"ComboUI";
}

void* CComboUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"Combo") == 0) return this;
    if (CompareTextIgnoreCase(name, L"IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
    return CContainerUI::FindInterface(name);
}

uint32_t CComboUI::GetBehaviorFlags() const
{
    return UIFLAG_TABSTOP | UIFLAG_SETCURSOR;
}

void CComboUI::InitHook() {}

// ---- drop-down -------------------------------------------------------------

bool CComboUI::ActivateControl()
{
    if (!CControlUI::ActivateControl()) return false;
    if (m_manager != nullptr) m_manager->SendNotification(this, L"predropdown");
    if (m_dropDown != nullptr) return true;
    m_dropDown = new CComboWnd();
    if (!m_dropDown->Init(this)) {
        // No window: the object went with it (or never had one).
        m_dropDown = nullptr;
        return false;
    }
    if (m_manager != nullptr) m_manager->SendNotification(this, L"dropdown");
    RequestRepaint();
    return true;
}

void CComboUI::CloseDropDownNow()
{
    if (m_dropDown != nullptr) m_dropDown->CloseNow();
}

void CComboUI::OnDropDownClosed()
{
    m_dropDown = nullptr;
    m_buttonState &= ~kStatePushed;
    RequestRepaint();
}

void CComboUI::EndPress()
{
    if ((m_buttonState & kStateCaptured) == 0) return;
    m_buttonState &= ~kStateCaptured;
    RequestRepaint();
}

// ---- children --------------------------------------------------------------

void CComboUI::RenumberRows(int from, int to)
{
    for (int i = from < 0 ? 0 : from; i <= to && i < GetChildCount(); ++i) {
        IListItemUI* row = AsListItem(GetChildAt(i));
        if (row != nullptr) row->SetListIndex(i);
    }
}

bool CComboUI::AddChild(CControlUI* control)
{
    IListItemUI* row = AsListItem(control);
    if (row != nullptr) {
        row->SetListOwner(this);
        row->SetListIndex(GetChildCount());
    }
    const int index = GetChildCount();
    if (!CContainerUI::InsertChildAt(control, index)) return false;
    AdoptMarkedRow(index);
    return true;
}

bool CComboUI::InsertChildAt(CControlUI* control, int index)
{
    if (!CContainerUI::InsertChildAt(control, index)) return false;
    IListItemUI* row = AsListItem(control);
    if (row != nullptr) {
        row->SetListOwner(this);
        row->SetListIndex(index);
    }
    RenumberRows(index + 1, GetChildCount() - 1);
    if (m_selected >= index) ++m_selected;
    AdoptMarkedRow(index);
    return true;
}

void CComboUI::AdoptMarkedRow(int index)
{
    // A row that arrives selected (so marked in the layout) is the box's
    // choice, taken without a notification: nobody chose it.
    IListItemUI* row = AsListItem(GetChildAt(index));
    if (row == nullptr || !row->IsItemSelected() || index == m_selected) return;
    IListItemUI* chosen = AsListItem(GetChildAt(m_selected));
    if (chosen != nullptr) chosen->SetItemSelected(false);
    m_selected = index;
}

bool CComboUI::RemoveChild(CControlUI* control)
{
    return RemoveChildAt(IndexOfChild(control));
}

bool CComboUI::RemoveChildAt(int index)
{
    if (index < 0 || index >= GetChildCount()) return false;
    // The open drop-down lists the rows too; it must not keep a removed one.
    CloseDropDownNow();
    if (!CContainerUI::RemoveChild(GetChildAt(index))) return false;
    RenumberRows(index, GetChildCount() - 1);
    if (index == m_selected) {
        m_selected = -1;
        // The nearest row before the removed one, else the first after it.
        SelectSingleItem(FindSelectableItem(index - 1, false), false);
    } else if (index < m_selected) {
        --m_selected;
    }
    return true;
}

void CComboUI::RemoveAllChildren()
{
    CloseDropDownNow();
    m_selected = -1;
    CContainerUI::RemoveAllChildren();
}

bool CComboUI::MoveChildToIndex(CControlUI* control, int index)
{
    const int old = IndexOfChild(control);
    if (old < 0) return false;
    if (old == index) return true;
    CControlUI* selected = GetChildAt(m_selected);
    if (!CContainerUI::MoveChildToIndex(control, index)) return false;
    RenumberRows(old < index ? old : index, old < index ? index : old);
    IListItemUI* row = AsListItem(selected);
    if (row != nullptr) m_selected = row->GetListIndex();
    return true;
}

// ---- selection -------------------------------------------------------------

uint32_t CComboUI::GetOwnerKind() const
{
    return UILIST_OWNER_COMBO;
}

TListItemStyle* CComboUI::GetListStyleInfo()
{
    return &m_style;
}

int CComboUI::GetSelectedIndex() const
{
    return m_selected;
}

bool CComboUI::SelectSingleItem(int index, bool takeFocus)
{
    if (index == m_selected) return true;
    const int old = m_selected;
    if (m_selected >= 0) {
        CControlUI* current = GetChildAt(m_selected);
        if (current == nullptr) return false;
        IListItemUI* row = AsListItem(current);
        if (row != nullptr) row->SetItemSelected(false);
        m_selected = -1;
    }
    const int count = GetChildCount();
    if (index < 0 || count == 0) {
        // The box must not keep showing the text of the row it lost.
        RequestRepaint();
        return false;
    }
    if (index >= count) index = count - 1;
    for (int i = 0; i < count; ++i) {
        IListItemUI* row = AsListItem(GetChildAt(i));
        if (row != nullptr) row->SetItemSelected(false);
    }
    CControlUI* control = GetChildAt(index);
    IListItemUI* row = AsListItem(control);
    if (row == nullptr) return false;
    m_selected = index;
    if (m_dropDown != nullptr || takeFocus) control->TakeFocus();
    row->SetItemSelected(true);
    if (m_manager != nullptr)
        m_manager->SendNotification(this, L"itemselect", static_cast<WPARAM>(index), static_cast<LPARAM>(old));
    RequestRepaint();
    return true;
}

bool CComboUI::AddToSelection(int index, bool takeFocus)
{
    return SelectSingleItem(index, takeFocus);
}

bool CComboUI::RemoveFromSelection(int, bool)
{
    return false;
}

void CComboUI::HandleItemEvent(TEventInfo& event)
{
    HandleEvent(event);
}

CUIString CComboUI::GetTextContent() const
{
    if (m_selected < 0) return CUIString();
    CControlUI* row = GetChildAt(m_selected);
    return row != nullptr ? row->GetTextContent() : CUIString();
}

// ---- events ----------------------------------------------------------------

void CComboUI::SelectFound(int target)
{
    if (target >= 0) SelectSingleItem(target, false);
}

void CComboUI::OnKeyDown(TEventInfo& event)
{
    switch (event.keyChar) {
    case VK_UP:
    case VK_PRIOR:
        SelectFound(FindSelectableRowStrict(*this, m_selected - 1, false));
        return;
    case VK_DOWN:
    case VK_NEXT:
        SelectFound(FindSelectableRowStrict(*this, m_selected + 1, true));
        return;
    case VK_HOME:
        SelectFound(FindSelectableRowStrict(*this, 0, true));
        return;
    case VK_END:
        SelectFound(FindSelectableRowStrict(*this, GetChildCount() - 1, false));
        return;
    case VK_F4:
        ActivateControl();
        return;
    default:
        CControlUI::HandleEvent(event);
        return;
    }
}

void CComboUI::HandleEvent(TEventInfo& event)
{
    if (IgnoresMouseEvent(event)) {
        if (!PassToParent(event)) CContainerUI::HandleEvent(event);
        return;
    }
    switch (event.type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        RequestRepaint();
        break;
    case UIEVENT_BUTTONDOWN:
        // Pushed shows the open drop-down: a list that cannot open leaves none.
        // Captured goes first: the drop-down takes the focus as it opens,
        // which ends this press inside ActivateControl.
        if (!GetEnabledState()) return;
        m_buttonState |= kStateCaptured;
        if (ActivateControl()) m_buttonState |= kStatePushed;
        return;
    case UIEVENT_BUTTONUP:
        EndPress();
        return;
    case UIEVENT_MOUSEMOVE:
        return;
    case UIEVENT_KEYDOWN:
        OnKeyDown(event);
        return;
    case UIEVENT_SCROLLWHEEL:
        if (m_scrollSelect) {
            const bool down = LOWORD(event.wParam) == 1;
            SelectFound(FindSelectableRowStrict(*this, m_selected + (down ? 1 : -1), down));
        }
        return;
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_MOUSEENTER:
        if (PtInRect(&m_item, event.point) && (m_buttonState & kStateHot) == 0) {
            m_buttonState |= kStateHot;
            RequestRepaint();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if ((m_buttonState & kStateHot) != 0) {
            m_buttonState &= ~kStateHot;
            RequestRepaint();
        }
        return;
    default:
        break;
    }
    CControlUI::HandleEvent(event);
}

// ---- layout and painting ---------------------------------------------------

void CComboUI::SetPosition(const RECT& rc, bool invalidate)
{
    if (EqualRect(&rc, &m_item)) return;
    if (m_dropDown != nullptr) m_dropDown->PostClose(1);
    for (int i = 0; i < GetChildCount(); ++i) GetChildAt(i)->SetPosition(RECT{0, 0, 0, 0}, true);
    CControlUI::SetPosition(rc, invalidate);
}

void CComboUI::OffsetBy(int dx, int dy, bool invalidate)
{
    CControlUI::OffsetBy(dx, dy, invalidate);
}

void CComboUI::SetEnabledState(bool enabled)
{
    CContainerUI::SetEnabledState(enabled);
    if (!GetEnabledState()) m_buttonState = 0;
}

CUISize CComboUI::MeasureDesiredSize(CUISize available)
{
    if (GetScaledFixedHeight() == 0) {
        const int fontHeight = m_manager != nullptr ? m_manager->DefaultFontEntry()->metrics.tmHeight : 0;
        return CUISize(GetScaledFixedWidth(), fontHeight + 12);
    }
    return CContainerUI::MeasureDesiredSize(available);
}

bool CComboUI::PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl)
{
    return CControlUI::PaintSelf(dc, paintArea, stopControl);
}

void CComboUI::RefreshStateBits()
{
    if (HasFocus())
        m_buttonState |= kStateFocused;
    else
        m_buttonState &= ~kStateFocused;
    if (GetEnabledState())
        m_buttonState &= ~kStateDisabled;
    else
        m_buttonState |= kStateDisabled;
}

void CComboUI::PaintStateImage(HDC dc)
{
    RefreshStateBits();
    const CUIString* candidate = nullptr;
    if ((m_buttonState & kStateDisabled) != 0)
        candidate = &m_disabledImage;
    else if ((m_buttonState & kStatePushed) != 0)
        candidate = &m_pushedImage;
    else if ((m_buttonState & kStateHot) != 0)
        candidate = &m_hotImage;
    else if ((m_buttonState & kStateFocused) != 0)
        candidate = &m_focusedImage;
    if (candidate != nullptr && !candidate->IsEmpty() && DrawImageSpec(dc, *candidate, nullptr)) return;
    if (!m_normalImage.IsEmpty()) DrawImageSpec(dc, m_normalImage, nullptr);
}

void CComboUI::PaintForegroundImage(HDC dc)
{
    if (!GetEnabledState() && !m_disabledForeImage.IsEmpty()) {
        DrawImageSpec(dc, m_disabledForeImage, nullptr);
        return;
    }
    if (GetEnabledState() && (m_buttonState & kStateHot) != 0 && !m_hotForeImage.IsEmpty() &&
        DrawImageSpec(dc, m_hotForeImage, nullptr))
        return;
    CControlUI::PaintForegroundImage(dc);
}

void CComboUI::PaintTextLayer(HDC dc)
{
    if (m_manager == nullptr) return;
    RefreshStateBits();
    if (m_textColor == 0) m_textColor = m_manager->DefaultTextColor();
    if (m_disabledTextColor == 0) m_disabledTextColor = m_manager->DefaultDisabledTextColor();
    const CUIString text = GetTextContent();
    if (text.IsEmpty()) return;
    RECT rc = {m_item.left + Scaled(m_textPadding.left), m_item.top + Scaled(m_textPadding.top),
               m_item.right - Scaled(m_textPadding.right), m_item.bottom - Scaled(m_textPadding.bottom)};
    const bool enabled = GetEnabledState();
    DWORD color = enabled ? m_textColor : m_disabledTextColor;
    if (enabled && (m_buttonState & kStateHot) != 0 && m_hotTextColor != 0) color = m_hotTextColor;
    CRenderKit::DrawControlText(dc, m_manager, rc, text, color, m_font, m_textStyle, m_showHtml);
}

// ---- attributes ------------------------------------------------------------

void CComboUI::SetShowShadow(bool on)
{
    if (on == m_showShadow) return;
    m_showShadow = on;
    RequestRepaint();
}

void CComboUI::SetShowHtml(bool on)
{
    if (on == m_showHtml) return;
    m_showHtml = on;
    RequestRepaint();
}

void CComboUI::SetItemShowHtml(bool on)
{
    if (on == m_style.showHtml) return;
    m_style.showHtml = on;
    RequestRepaint();
}

void CComboUI::SetTextColor(DWORD argb)
{
    m_textColor = argb;
    RequestRepaint();
}

void CComboUI::SetDisabledTextColor(DWORD argb)
{
    m_disabledTextColor = argb;
    RequestRepaint();
}

void CComboUI::SetFont(int id)
{
    m_font = id;
    RequestRepaint();
}

void CComboUI::SetTextStyle(UINT style)
{
    m_textStyle = style;
    RequestRepaint();
}

void CComboUI::SetTextPadding(int left, int top, int right, int bottom)
{
    m_textPadding = CUIRect(left, top, right, bottom);
    RequestRepaint();
}

void CComboUI::SetImage(CUIString& slot, const wchar_t* value)
{
    slot = value;
    RequestRepaint();
}

void CComboUI::ApplyAlignWords(const wchar_t* value)
{
    UINT style = m_textStyle;
    if (wcsstr(value, L"left") != nullptr) style &= ~static_cast<UINT>(DT_CENTER | DT_RIGHT | DT_SINGLELINE);
    if (wcsstr(value, L"center") != nullptr) style = (style & ~static_cast<UINT>(DT_RIGHT)) | DT_CENTER;
    if (wcsstr(value, L"right") != nullptr)
        style = (style & ~static_cast<UINT>(DT_CENTER | DT_SINGLELINE)) | DT_RIGHT;
    SetTextStyle(style);
}

void CComboUI::ApplyVerticalAlignWords(const wchar_t* value)
{
    UINT style = m_textStyle;
    if (wcsstr(value, L"top") != nullptr)
        style = (style & ~static_cast<UINT>(DT_BOTTOM | DT_VCENTER)) | DT_SINGLELINE;
    if (wcsstr(value, L"vcenter") != nullptr)
        style = (style & ~static_cast<UINT>(DT_BOTTOM)) | DT_VCENTER | DT_SINGLELINE;
    if (wcsstr(value, L"bottom") != nullptr)
        style = (style & ~static_cast<UINT>(DT_VCENTER)) | DT_BOTTOM | DT_SINGLELINE;
    SetTextStyle(style);
}

void CComboUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    struct ImageSlot {
        const wchar_t* name;
        CUIString CComboUI::*field;
    };
    static const ImageSlot kImages[] = {
        {L"normalimage", &CComboUI::m_normalImage},
        {L"hotimage", &CComboUI::m_hotImage},
        {L"pushedimage", &CComboUI::m_pushedImage},
        {L"focusedimage", &CComboUI::m_focusedImage},
        {L"disabledimage", &CComboUI::m_disabledImage},
        {L"hotforeimage", &CComboUI::m_hotForeImage},
        {L"disableforeimage", &CComboUI::m_disabledForeImage},
    };
    int32_t v[4] = {0, 0, 0, 0};
    if (AttrNameEquals(name, L"align")) {
        ApplyAlignWords(value);
    } else if (AttrNameEquals(name, L"valign")) {
        ApplyVerticalAlignWords(value);
    } else if (AttrNameEquals(name, L"endellipsis")) {
        SetTextStyle(ParseAttrBool(value) ? (m_textStyle | DT_END_ELLIPSIS)
                                          : (m_textStyle & ~static_cast<UINT>(DT_END_ELLIPSIS)));
    } else if (AttrNameEquals(name, L"wordbreak")) {
        const UINT multiLine = DT_WORDBREAK | DT_EDITCONTROL;
        SetTextStyle(ParseAttrBool(value) ? ((m_textStyle & ~static_cast<UINT>(DT_SINGLELINE)) | multiLine)
                                          : ((m_textStyle & ~multiLine) | DT_SINGLELINE));
    } else if (AttrNameEquals(name, L"font")) {
        SetFont(ParseAttrInt(value));
    } else if (AttrNameEquals(name, L"textcolor")) {
        SetTextColor(ParseAttrColor(value, false));
    } else if (AttrNameEquals(name, L"disabledtextcolor")) {
        SetDisabledTextColor(ParseAttrColor(value, false));
    } else if (AttrNameEquals(name, L"textpadding")) {
        ParseAttrIntList(value, v, 4);
        SetTextPadding(v[0], v[1], v[2], v[3]);
    } else if (AttrNameEquals(name, L"showhtml")) {
        SetShowHtml(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"showshadow")) {
        SetShowShadow(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"scrollselect")) {
        m_scrollSelect = ParseAttrBool(value);
    } else if (AttrNameEquals(name, L"dropbox")) {
        m_dropBoxAttributes = value;
    } else if (AttrNameEquals(name, L"hottextcolor")) {
        m_hotTextColor = ParseAttrColor(value, false);
    } else if (AttrNameEquals(name, L"dropboxsize")) {
        ParseAttrIntList(value, v, 2);
        m_dropBoxSize = CUISize(v[0], v[1]);
    } else if (AttrNameEquals(name, L"dropboxinset")) {
        ParseAttrIntList(value, v, 4);
        m_dropBoxInset = CUIRect(v[0], v[1], v[2], v[3]);
    } else if (AttrNameEquals(name, L"itemshowhtml")) {
        SetItemShowHtml(ParseAttrBool(value));
    } else {
        for (const ImageSlot& slot : kImages) {
            if (AttrNameEquals(name, slot.name)) {
                SetImage(this->*slot.field, value);
                return;
            }
        }
        switch (ApplyListStyleAttribute(m_style, name, value)) {
        case ListStyleChange::NotStyle:
            CContainerUI::ApplyAttribute(name, value);
            return;
        case ListStyleChange::TextFormat:
        case ListStyleChange::Padding:
            RequestRepaint();
            return;
        default:
            return;
        }
    }
}

} // namespace SkinUI
