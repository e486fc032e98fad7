#include "uilib/control/MenuElement.h"

#include <cstdlib>

#include "uilib/control/Menu.h"
#include "uilib/control/MenuList.h"
#include "uilib/control/ScrollBar.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

const int kDefaultWidth = 150;
const int kDefaultHeight = 30;
const int kLineHeight = 6;
// While a sibling's sub-menu is open, a row takes over only once the pointer
// rests on it this long: a hand on its way into the sub-menu may cross it.
const UINT kTakeOverTimerId = 1;
const UINT kTakeOverMs = 400;

} // namespace

bool IsMenuElement(CControlUI* control)
{
    return control != nullptr && control->FindInterface(L"MenuElement") != nullptr;
}

CMenuElementUI::CMenuElementUI()
    : m_subMenu(nullptr),
      m_drawLine(false),
      m_lineColor(0xFFBCBFC4),
      m_linePadding(29, 0, 7, 0),
      m_iconSize(16, 16),
      m_checkItem(false),
      m_showExpandIcon(false),
      m_subMenuAlign(MenuAlignRight | MenuAlignTop)
{
    SetFixedWidthValue(kDefaultWidth);
    SetFixedHeightValue(kDefaultHeight);
}

CMenuElementUI::~CMenuElementUI()
{
    // An open sub-menu shows this row's children: close it at once.
    if (m_subMenu != nullptr) {
        CMenuWnd* menu = m_subMenu;
        m_subMenu = nullptr;
        DestroyWindow(menu->GetNativeHandle());
    }
}

const wchar_t* CMenuElementUI::GetTypeName() const
{
    return L"MenuElementUI";
}

void* CMenuElementUI::FindInterface(const wchar_t* name)
{
    if (CompareTextIgnoreCase(name, L"MenuElement") == 0) return this;
    return CListContainerElementUI::FindInterface(name);
}

// ---- sub-menus and choosing ----------------------------------------------------

HWND CMenuElementUI::RowWindow() const
{
    return m_manager != nullptr ? m_manager->WindowHandle() : nullptr;
}

int CMenuElementUI::ShowSubRows()
{
    int count = 0;
    for (int i = 0; i < m_children.Count(); ++i) {
        CControlUI* child = static_cast<CControlUI*>(m_children[i]);
        if (!IsMenuElement(child)) continue;
        child->SetVisibility(true);
        child->SetInheritedVisibility(true);
        ++count;
    }
    return count;
}

void CMenuElementUI::SelectThisRow()
{
    IListOwnerUI* owner = GetListOwner();
    if (owner != nullptr) owner->SelectSingleItem(GetListIndex(), true);
}

void CMenuElementUI::CreateSubMenuWindow()
{
    if (m_subMenu != nullptr) return;
    CMenuWnd* menu = new CMenuWnd();
    m_subMenu = menu;
    CMenuWnd::GetMenuObserver().BroadcastToReceivers(TMenuBroadcastInfo{UIMENU_CLOSE_DESCENDANTS, RowWindow()});
    // A failed Init has deleted the window object and cleared m_subMenu.
    menu->Init(this, L"", POINT{0, 0}, nullptr, nullptr, m_subMenuAlign);
}

void CMenuElementUI::OnSubMenuClosed(CMenuWnd* window)
{
    if (m_subMenu != window) return;
    m_subMenu = nullptr;
    RequestRepaint();
}

void CMenuElementUI::EnterRow()
{
    if (ShowSubRows() > 0) {
        SelectThisRow();
        CreateSubMenuWindow();
    } else {
        CMenuWnd::GetMenuObserver().BroadcastToReceivers(TMenuBroadcastInfo{UIMENU_CLOSE_DESCENDANTS, RowWindow()});
        SelectThisRow();
    }
}

bool CMenuElementUI::SiblingSubMenuOpen() const
{
    MenuObserverImpl::ReceiverIterator walk(CMenuWnd::GetMenuObserver());
    for (MenuReceiverImpl* receiver = walk.next(); receiver != nullptr; receiver = walk.next()) {
        CMenuWnd* menu = receiver->AsMenuWindow();
        CMenuElementUI* owner = menu != nullptr ? menu->GetOwnerRow() : nullptr;
        if (owner != nullptr && owner != this && owner->GetPaintManager() == m_manager) return true;
    }
    return false;
}

bool CMenuElementUI::PointerOnRow() const
{
    POINT pt = {0, 0};
    const HWND window = RowWindow();
    if (window == nullptr || !GetCursorPos(&pt) || WindowFromPoint(pt) != window) return false;
    ScreenToClient(window, &pt);
    return PtInRect(&m_item, pt) != FALSE;
}

void CMenuElementUI::ChooseLeaf()
{
    SetChecked(!GetChecked());
    MenuObserverImpl& observer = CMenuWnd::GetMenuObserver();
    CPaintManagerUI* target = observer.GetNotifyManager();
    const HWND window = RowWindow();
    CMenuUI* root = m_manager != nullptr ? static_cast<CMenuUI*>(m_manager->Root() != nullptr
                                                                     ? m_manager->Root()->FindInterface(L"Menu")
                                                                     : nullptr)
                                         : nullptr;
    const bool closing = root != nullptr && root->GetMenuWindow() != nullptr && root->GetMenuWindow()->IsClosing();
    if (window != nullptr && IsWindow(window) && !closing && target != nullptr) {
        // Freed by the receiver through CPaintManagerUI::FreeBlock.
        TMenuClickInfo* info = static_cast<TMenuClickInfo*>(calloc(1, sizeof(TMenuClickInfo)));
        if (info != nullptr) {
            CopyTextCut(info->name, TMenuClickInfo::kNameChars, GetControlName());
            CopyTextCut(info->userData, TMenuClickInfo::kTextChars, GetUserDataText());
            CopyTextCut(info->text, TMenuClickInfo::kTextChars, GetTextContent());
            info->checked = GetChecked() ? 1 : 0;
            if (!PostMessageW(target->WindowHandle(), WM_MENU_ITEM_CLICKED, reinterpret_cast<WPARAM>(info),
                              reinterpret_cast<LPARAM>(this)))
                CPaintManagerUI::FreeBlock(info);
        }
    }
    observer.BroadcastToReceivers(TMenuBroadcastInfo{UIMENU_CLOSE_ALL, window});
}

void CMenuElementUI::HandleEvent(TEventInfo& event)
{
    switch (event.type) {
    case UIEVENT_MOUSEENTER:
        CListContainerElementUI::HandleEvent(event);
        if (m_subMenu != nullptr) return;
        if (m_manager != nullptr && SiblingSubMenuOpen())
            m_manager->StartTimer(this, kTakeOverTimerId, kTakeOverMs);
        else
            EnterRow();
        return;
    case UIEVENT_TIMER:
        if (event.wParam != kTakeOverTimerId) break;
        if (m_manager != nullptr) m_manager->StopTimer(this, kTakeOverTimerId);
        // The pointer gone on into the open sub-menu keeps it.
        if (m_subMenu == nullptr && PointerOnRow()) EnterRow();
        return;
    case UIEVENT_MOUSELEAVE: {
        if (m_manager != nullptr) m_manager->StopTimer(this, kTakeOverTimerId);
        bool hasSubRows = false;
        for (int i = 0; i < m_children.Count() && !hasSubRows; ++i)
            hasSubRows = IsMenuElement(static_cast<CControlUI*>(m_children[i]));
        if (!hasSubRows && GetListOwner() != nullptr) GetListOwner()->SelectSingleItem(-1, true);
        CListContainerElementUI::HandleEvent(event);
        return;
    }
    case UIEVENT_BUTTONUP:
        if (!GetEnabledState()) return;
        CListContainerElementUI::HandleEvent(event);
        if (m_subMenu != nullptr) return;
        if (ShowSubRows() > 0) {
            CreateSubMenuWindow();
            return;
        }
        ChooseLeaf();
        return;
    case UIEVENT_KEYDOWN:
        if (event.keyChar == VK_RIGHT) {
            if (m_subMenu == nullptr) EnterRow();
            return;
        }
        break;
    default:
        break;
    }
    CListContainerElementUI::HandleEvent(event);
}

// ---- check state -------------------------------------------------------------

bool CMenuElementUI::GetChecked() const
{
    CUIStringMap* map = CMenuWnd::GetMenuObserver().GetSharedMenuData();
    if (m_name.IsEmpty() || map == nullptr) return false;
    const TMenuCheckInfo* info = static_cast<const TMenuCheckInfo*>(map->Lookup(m_name, false));
    return info != nullptr && info->checked;
}

void CMenuElementUI::SetChecked(bool checked)
{
    CMenuWnd::SetMenuCheckInfo(m_name, checked);
}

// ---- attributes --------------------------------------------------------------

void CMenuElementUI::SetIcon(const wchar_t* text)
{
    if (text != nullptr && text[0] != L'\0') m_icon = text;
}

void CMenuElementUI::SetLineType()
{
    m_drawLine = true;
    const int height = GetFixedSizeValue().cy;
    if (height == 0 || height == kDefaultHeight) SetFixedHeightValue(kLineHeight);
    SetChildrenAcceptMouse(false);
    SetAcceptsMouse(false);
    SetEnabledState(false);
}

void CMenuElementUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    int32_t v[4] = {0, 0, 0, 0};
    if (AttrNameEquals(name, L"icon")) {
        SetIcon(value);
    } else if (AttrNameEquals(name, L"iconsize")) {
        ParseAttrIntList(value, v, 2);
        SetIconSize(v[0], v[1]);
    } else if (AttrNameEquals(name, L"checkitem")) {
        SetCheckItem(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"ischeck")) {
        CUIStringMap* map = CMenuWnd::GetMenuObserver().GetSharedMenuData();
        if (map == nullptr) return;
        for (int i = 0; i < map->Count(); ++i) {
            // A state already kept for this row wins over the layout's.
            if (m_name.CompareIgnoreCase(map->KeyAt(i)) == 0) return;
        }
        SetChecked(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"linetype")) {
        if (ParseAttrBool(value)) SetLineType();
    } else if (AttrNameEquals(name, L"expland")) {
        SetShowExpandIcon(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"linecolor")) {
        SetLineColor(ParseAttrColor(value, false));
    } else if (AttrNameEquals(name, L"linepadding")) {
        ParseAttrIntList(value, v, 4);
        SetLinePadding(v[0], v[1], v[2], v[3]);
    } else if (AttrNameEquals(name, L"height")) {
        SetFixedHeightValue(ParseAttrInt(value));
    } else {
        CListContainerElementUI::ApplyAttribute(name, value);
    }
}

// ---- measuring -----------------------------------------------------------------

void CMenuElementUI::StoreMeasuredSize(CUISize size)
{
    const int percent = m_manager != nullptr ? m_manager->DpiScaler()->GetScalePercent() : 100;
    const int divisor = percent > 0 ? percent : 100;
    const int width = MulDiv(size.cx, 100, divisor);
    const int height = MulDiv(size.cy, 100, divisor);
    // Only on a change: the setters ask for a new layout.
    if (GetFixedSizeValue().cx != width) SetFixedWidthValue(width);
    if (GetFixedSizeValue().cy != height) SetFixedHeightValue(height);
}

CUISize CMenuElementUI::MeasureDesiredSize(CUISize available)
{
    const int fixedWidth = GetScaledFixedWidth();
    const int fixedHeight = GetScaledFixedHeight();
    CUISize size(0, 0);
    for (int i = 0; i < m_children.Count(); ++i) {
        CControlUI* child = static_cast<CControlUI*>(m_children[i]);
        // Sub-rows belong to the sub-menu, not to this row's content.
        if (!child->GetVisibility() || IsMenuElement(child)) continue;
        const CUISize part = child->MeasureDesiredSize(available);
        size.cy += part.cy;
        if (part.cx > size.cx) size.cx = part.cx;
    }
    TListItemStyle* style = m_row.Style();
    if (size.cy == 0 && style != nullptr && m_manager != nullptr) {
        const CUIRect padding(Scaled(style->textPadding.left), Scaled(style->textPadding.top),
                              Scaled(style->textPadding.right), Scaled(style->textPadding.bottom));
        const int wide = available.cx > fixedWidth ? available.cx : fixedWidth;
        RECT rc = {padding.left, 0, wide - padding.right, 9999};
        const CUIString text = GetTextContent();
        const UINT format = style->textStyle | DT_CALCRECT;
        // A manager without a window has no DC of its own to measure on.
        HDC measuring = m_manager->DeviceContext();
        HDC scratch = measuring == nullptr ? CreateCompatibleDC(nullptr) : nullptr;
        if (scratch != nullptr) measuring = scratch;
        if (text.IsEmpty()) {
            // Nothing to measure: the padding alone.
            rc.right = rc.left;
            rc.bottom = rc.top;
        } else {
            CRenderKit::DrawControlText(measuring, m_manager, rc, text, 0, style->font, format, style->showHtml);
        }
        if (scratch != nullptr) DeleteDC(scratch);
        size = CUISize(rc.right - rc.left + padding.left + padding.right,
                       rc.bottom - rc.top + padding.top + padding.bottom);
    }
    if (fixedHeight != 0) size.cy = fixedHeight;
    if (size.cx < fixedWidth) size.cx = fixedWidth;
    StoreMeasuredSize(size);
    return size;
}

// ---- painting ------------------------------------------------------------------

CUIString CMenuElementUI::DestModifier(RECT rc) const
{
    CUIRect relative(rc);
    if (m_manager != nullptr) m_manager->DpiScaler()->UnscaleRectInPlace(relative);
    CUIString modifier;
    modifier.Printf(L"dest='%d,%d,%d,%d'", relative.left, relative.top, relative.right, relative.bottom);
    return modifier;
}

bool CMenuElementUI::PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl)
{
    RECT area;
    if (!IntersectRect(&area, &paintArea, &m_item)) return true;
    if (m_drawLine) {
        const int y = m_item.top + GetScaledFixedHeight() / 2;
        const RECT segment = {m_item.left + Scaled(m_linePadding.left), y, m_item.right - Scaled(m_linePadding.right),
                              y};
        CRenderKit::DrawLineSegment(dc, segment, 1, m_lineColor, PS_SOLID);
    } else {
        CRenderClip clip;
        CRenderClip::ClipToRect(dc, area, clip);
        PaintItemBackground(dc, m_item);
        PaintItemText(dc, m_item);
        PaintIcon(dc, m_item);
        PaintExpandIcon(dc, m_item);
        for (int i = 0; i < m_children.Count(); ++i) {
            CControlUI* child = static_cast<CControlUI*>(m_children[i]);
            if (!child->GetVisibility() || IsMenuElement(child)) continue;
            RECT overlap;
            if (!IntersectRect(&overlap, &area, &child->GetPosition())) continue;
            if (!child->PaintArea(dc, area, stopControl)) return false;
        }
    }
    CScrollBarUI* bars[2] = {m_vScrollBar, m_hScrollBar};
    for (CScrollBarUI* bar : bars) {
        RECT overlap;
        if (bar == nullptr || !bar->GetVisibility() || !IntersectRect(&overlap, &paintArea, &bar->GetPosition()))
            continue;
        if (!bar->PaintArea(dc, paintArea, stopControl)) return false;
    }
    return true;
}

void CMenuElementUI::PaintItemText(HDC dc, const RECT& rc)
{
    m_row.PaintItemText(dc, rc, DT_SINGLELINE);
}

void CMenuElementUI::PaintIcon(HDC dc, const RECT&)
{
    if (m_icon.IsEmpty() || (m_checkItem && !GetChecked())) return;
    TListItemStyle* style = m_row.Style();
    const int h = GetScaledFixedHeight();
    const int iw = Scaled(m_iconSize.cx);
    const int ih = Scaled(m_iconSize.cy);
    const int p = style != nullptr ? Scaled(style->textPadding.left) : 0;
    RECT rc;
    rc.left = (p - iw) / 2;
    rc.top = (h - ih) / 2;
    rc.right = rc.left + iw;
    rc.bottom = rc.top + ih;
    DrawImageSpec(dc, m_icon, DestModifier(rc));
}

void CMenuElementUI::PaintExpandIcon(HDC dc, const RECT&)
{
    if (!m_showExpandIcon || m_manager == nullptr) return;
    const wchar_t* text = m_manager->FindDefaultAttributes(L"ExplandIcon");
    if (text == nullptr || text[0] == L'\0') return;
    const TImageDrawSpec* spec = m_manager->CachedImageDrawSpec(text, nullptr);
    if (spec == nullptr) return;
    const TImageEntry* image = m_manager->FindOrLoadImage(spec->imageName, spec->resourceType);
    if (image == nullptr) return;
    // At the right of the row as the menu spans it.
    const int w = m_item.right - m_item.left;
    const int h = GetScaledFixedHeight();
    const int m = Scaled(20) / 3;
    RECT rc = {w - image->width - m, (h - image->height) / 2, w - m, (h - image->height) / 2 + image->height};
    DrawImageSpec(dc, text, DestModifier(rc));
}

} // namespace SkinUI
