#include "uilib/core/UIControl.h"

#include "uilib/core/AttrParse.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

// Styles may name other styles; a chain deeper than this is a loop.
const int kMaxStyleDepth = 8;

struct TCursorWord {
    const wchar_t* word;
    uint16_t id;
};

const TCursorWord kCursorWords[] = {
    {L"arrow", 32512},    {L"ibeam", 32513},    {L"wait", 32514},     {L"cross", 32515},  {L"uparrow", 32516},
    {L"size", 32640},     {L"icon", 32641},     {L"sizenwse", 32642}, {L"sizenesw", 32643},
    {L"sizewe", 32644},   {L"sizens", 32645},   {L"sizeall", 32646},  {L"no", 32648},     {L"hand", 32649},
};

bool HasChar(const wchar_t* text, wchar_t ch)
{
    for (; *text != L'\0'; ++text) {
        if (*text == ch) return true;
    }
    return false;
}

uint32_t ApplyFloatAlignWords(uint32_t bits, const wchar_t* value)
{
    const wchar_t* p = value;
    while (*p != L'\0') {
        while (*p == L',' || *p == L' ') ++p;
        const wchar_t* start = p;
        while (*p != L'\0' && *p != L',' && *p != L' ') ++p;
        CUIString word(start, static_cast<int>(p - start));
        if (word.IsEmpty()) continue;
        if (AttrNameEquals(word, L"null")) bits = 0;
        else if (AttrNameEquals(word, L"left")) bits &= ~(UIFLOAT_CENTER | UIFLOAT_RIGHT);
        else if (AttrNameEquals(word, L"center")) bits = (bits & ~UIFLOAT_RIGHT) | UIFLOAT_CENTER;
        else if (AttrNameEquals(word, L"right")) bits = (bits & ~UIFLOAT_CENTER) | UIFLOAT_RIGHT;
        else if (AttrNameEquals(word, L"top")) bits &= ~(UIFLOAT_VCENTER | UIFLOAT_BOTTOM);
        else if (AttrNameEquals(word, L"vcenter")) bits = (bits & ~UIFLOAT_BOTTOM) | UIFLOAT_VCENTER;
        else if (AttrNameEquals(word, L"bottom")) bits = (bits & ~UIFLOAT_VCENTER) | UIFLOAT_BOTTOM;
    }
    return bits;
}

template <class T>
bool StoreIfChanged(T& field, T value)
{
    if (field == value) return false;
    field = value;
    return true;
}

// Negative limits are ignored.
template <class T>
bool StoreSizeLimit(T& field, int value)
{
    return value >= 0 && StoreIfChanged(field, static_cast<T>(value));
}

// A null text stores as empty.
bool StoreTextIfChanged(CUIString& field, const wchar_t* text)
{
    if (field == (text != nullptr ? text : L"")) return false;
    field = text;
    return true;
}

bool IsEmptyRect(const RECT& rc)
{
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

} // namespace

int& CControlUI::LiveControls()
{
    static int count = 0;
    return count;
}

int CControlUI::LiveCount()
{
    return LiveControls();
}

CControlUI::CControlUI()
    : m_manager(nullptr), m_parent(nullptr), m_needsLayout(true), m_menuEnabled(false), m_maxSize(9999, 9999),
      m_visible(true), m_inheritedVisible(true), m_enabled(true), m_mouseEnabled(true), m_keyboardEnabled(true),
      m_focusOnPress(true), m_focused(false), m_floating(false), m_floatAlign(0), m_inSizeEvent(false), m_drag(false),
      m_drop(false), m_resourceText(false), m_shortcut(0), m_userTag(0), m_backColor1(0), m_backColor2(0),
      m_backColor3(0), m_foreColor(0), m_borderColor(0), m_focusBorderColor(0), m_colorHsl(false), m_borderWidth(0),
      m_borderStyle(PS_SOLID), m_tipMaxWidth(300), m_cursor(0), m_customAttributes(CUIStringMap::kDefaultBuckets),
      m_styleDepth(0)
{
    ++LiveControls();
}

CControlUI::~CControlUI()
{
    --LiveControls();
    if (OnDestroy.HasDelegates()) OnDestroy.Invoke(this);
    for (int i = 0; i < m_customAttributes.Count(); ++i) {
        const wchar_t* key = m_customAttributes.KeyAt(i);
        if (key != nullptr) delete static_cast<CUIString*>(m_customAttributes.Lookup(key, false));
    }
    m_customAttributes.RemoveAll();
    if (m_manager != nullptr) m_manager->ForgetControl(this);
}

int CControlUI::Scaled(int value) const
{
    if (m_manager == nullptr) return value;
    CDpiScaler* scaler = m_manager->DpiScaler();
    return scaler != nullptr ? scaler->ScaleValue(value) : value;
}

int CControlUI::Unscaled(int value) const
{
    if (m_manager == nullptr) return value;
    CDpiScaler* scaler = m_manager->DpiScaler();
    return scaler != nullptr ? scaler->UnscaleValue(value) : value;
}

CUIRect CControlUI::UnscaledRect(const RECT& rc) const
{
    return CUIRect(Unscaled(rc.left), Unscaled(rc.top), Unscaled(rc.right), Unscaled(rc.bottom));
}

CUIString CControlUI::GetControlName() const { return m_name; }
void CControlUI::SetControlName(const wchar_t* name) { m_name = name; }

const wchar_t* CControlUI::GetTypeName() const { return L"ControlUI"; }

void* CControlUI::FindInterface(const wchar_t* name)
{
    return AttrNameEquals(name, L"Control") ? this : nullptr;
}

uint32_t CControlUI::GetBehaviorFlags() const { return 0; }

bool CControlUI::ActivateControl()
{
    return GetVisibility() && GetEnabledState();
}

CPaintManagerUI* CControlUI::GetPaintManager() const { return m_manager; }

void CControlUI::AttachManager(CPaintManagerUI* manager, CControlUI* parent, bool initNow)
{
    m_manager = manager;
    m_parent = parent;
    if (initNow && m_parent != nullptr) Initialize();
}

CControlUI* CControlUI::GetParentControl() const { return m_parent; }

CUIString CControlUI::GetTextContent() const
{
    return CResourceStore::GetInstance()->LookupText(m_text);
}

void CControlUI::SetTextContent(const wchar_t* text)
{
    if (!StoreTextIfChanged(m_text, text)) return;
    m_text.ReplaceAll(L"{\\n}", L"\n");
    RequestRepaint();
}

bool CControlUI::UsesResourceText() const { return m_resourceText; }

void CControlUI::SetUsesResourceText(bool on)
{
    if (m_resourceText == on) return;
    m_resourceText = on;
    RequestRepaint();
}

bool CControlUI::AllowsDrag() const { return m_drag; }
void CControlUI::SetAllowsDrag(bool on) { m_drag = on; }
bool CControlUI::AcceptsDrop() const { return m_drop; }
void CControlUI::SetAcceptsDrop(bool on) { m_drop = on; }

CUIRect CControlUI::GetRelativePosition() const
{
    if (m_parent == nullptr) return CUIRect();
    CUIRect rc = m_item;
    const CUIRect& parent = m_parent->GetPosition();
    rc.Translate(-parent.left, -parent.top);
    return rc;
}

CUIRect CControlUI::GetContentArea() const { return m_item; }
const CUIRect& CControlUI::GetPosition() const { return m_item; }

void CControlUI::SetPosition(const RECT& rc, bool invalidate)
{
    CUIRect next = rc;
    if (next.right < next.left) next.right = next.left;
    if (next.bottom < next.top) next.bottom = next.top;

    CUIRect old = m_item;
    if (IsEmptyRect(old)) old = next;
    m_item = next;
    if (m_manager == nullptr) return;

    if (!m_inSizeEvent) {
        m_inSizeEvent = true;
        OnSize.Invoke(this);
        m_inSizeEvent = false;
    }
    m_needsLayout = false;

    if (!invalidate || !GetVisibility()) return;
    CUIRect dirty = old;
    dirty.ExtendToCover(m_item);
    for (CControlUI* parent = m_parent; parent != nullptr; parent = parent->GetParentControl()) {
        if (!parent->GetVisibility()) return;
        RECT clipped;
        const CUIRect& bounds = parent->GetPosition();
        if (!IntersectRect(&clipped, &dirty, &bounds)) return;
        dirty = clipped;
    }
    m_manager->InvalidateArea(dirty);
}

void CControlUI::OffsetBy(int dx, int dy, bool)
{
    m_fixedOrigin.cx += dx;
    m_fixedOrigin.cy += dy;
    RequestParentRelayout();
}

int CControlUI::GetCurrentWidth() const { return m_item.Width(); }
int CControlUI::GetCurrentHeight() const { return m_item.Height(); }
int CControlUI::GetCurrentLeft() const { return m_item.left; }
int CControlUI::GetCurrentTop() const { return m_item.top; }

CUIRect CControlUI::GetScaledPadding() const
{
    return CUIRect(Scaled(m_padding.left), Scaled(m_padding.top), Scaled(m_padding.right), Scaled(m_padding.bottom));
}

void CControlUI::SetPaddingRect(int left, int top, int right, int bottom)
{
    m_padding = CUIRect(left, top, right, bottom);
    RequestParentRelayout();
}

CUISize CControlUI::GetFixedOrigin() const
{
    return CUISize(Scaled(m_fixedOrigin.cx), Scaled(m_fixedOrigin.cy));
}

void CControlUI::SetFixedOrigin(int x, int y)
{
    m_fixedOrigin = CUISize(x, y);
    RequestParentRelayout();
}

int CControlUI::GetScaledFixedWidth() const { return Scaled(m_fixedSize.cx); }

void CControlUI::SetFixedWidthValue(int width)
{
    if (width < 0) return;
    m_fixedSize.cx = width;
    RequestParentRelayout();
}

int CControlUI::GetScaledFixedHeight() const { return Scaled(m_fixedSize.cy); }

void CControlUI::SetFixedHeightValue(int height)
{
    if (height < 0) return;
    m_fixedSize.cy = height;
    RequestParentRelayout();
}

int CControlUI::GetScaledMinWidth() const { return Scaled(m_minSize.cx); }

void CControlUI::SetMinWidthValue(int width)
{
    if (StoreSizeLimit(m_minSize.cx, width)) RequestParentRelayout();
}

int CControlUI::GetScaledMaxWidth() const { return Scaled(m_maxSize.cx); }

void CControlUI::SetMaxWidthValue(int width)
{
    if (StoreSizeLimit(m_maxSize.cx, width)) RequestParentRelayout();
}

int CControlUI::GetScaledMinHeight() const { return Scaled(m_minSize.cy); }

void CControlUI::SetMinHeightValue(int height)
{
    if (StoreSizeLimit(m_minSize.cy, height)) RequestParentRelayout();
}

int CControlUI::GetScaledMaxHeight() const { return Scaled(m_maxSize.cy); }

void CControlUI::SetMaxHeightValue(int height)
{
    if (StoreSizeLimit(m_maxSize.cy, height)) RequestParentRelayout();
}

TFloatAnchors CControlUI::GetFloatAnchors() const { return m_floatAnchors; }

void CControlUI::SetFloatAnchors(double left, double top, double right, double bottom)
{
    m_floatAnchors.left = left;
    m_floatAnchors.top = top;
    m_floatAnchors.right = right;
    m_floatAnchors.bottom = bottom;
    RequestParentRelayout();
}

void CControlUI::SetFloatAlignment(uint32_t bits)
{
    m_floatAlign = bits;
    RequestParentRelayout();
}

uint32_t CControlUI::GetFloatAlignment() const { return m_floatAlign; }

CUIString CControlUI::GetToolTipText() const
{
    return CResourceStore::GetInstance()->LookupText(m_toolTip);
}

void CControlUI::SetToolTipText(const wchar_t* text)
{
    m_toolTip = text;
    m_toolTip.ReplaceAll(L"<n>", L"\r\n");
}

void CControlUI::SetTipMaxWidth(int width) { m_tipMaxWidth = width; }
int CControlUI::GetTipMaxWidth() const { return Scaled(m_tipMaxWidth); }

uint16_t CControlUI::GetCursorId() const { return m_cursor; }

void CControlUI::SetCursorId(uint16_t id)
{
    m_cursor = id;
    RequestRepaint();
}

wchar_t CControlUI::GetShortcutKey() const { return m_shortcut; }
void CControlUI::SetShortcutKey(wchar_t ch) { m_shortcut = ch; }
bool CControlUI::IsMenuEnabled() const { return m_menuEnabled; }
void CControlUI::SetMenuEnabled(bool on) { m_menuEnabled = on; }
CUIString CControlUI::GetUserDataText() const { return m_userData; }
void CControlUI::SetUserDataText(const wchar_t* text) { m_userData = text; }
uintptr_t CControlUI::GetUserTag() const { return m_userTag; }
void CControlUI::SetUserTag(uintptr_t tag) { m_userTag = tag; }

bool CControlUI::GetVisibility() const { return m_visible && m_inheritedVisible; }

void CControlUI::SetVisibility(bool visible)
{
    const bool wasVisible = GetVisibility();
    if (visible != m_visible) {
        m_visible = visible;
        m_focused = false;
        if (!visible) DropHiddenHolds();
    }
    // Every call, a change or not: showing a GIF that does not play by itself starts it.
    VisibilityChanged(wasVisible, true);
}

void CControlUI::SetInheritedVisibility(bool visible)
{
    const bool wasVisible = GetVisibility();
    m_inheritedVisible = visible;
    if (!visible) DropHiddenHolds();
    VisibilityChanged(wasVisible, false);
}

void CControlUI::VisibilityChanged(bool wasVisible, bool own)
{
    if (own && GetVisibility() != wasVisible) RequestParentRelayout();
}

void CControlUI::DropHiddenHolds()
{
    if (m_manager == nullptr) return;
    if (m_manager->FocusControl() == this) m_manager->SetFocusControl(nullptr);
    m_manager->EndPressWithin(this);
}

bool CControlUI::GetEnabledState() const { return m_enabled; }

void CControlUI::SetEnabledState(bool enabled)
{
    if (m_enabled == enabled) return;
    m_enabled = enabled;
    if (!enabled && m_manager != nullptr) m_manager->EndPressWithin(this);
    RequestRepaint();
}

bool CControlUI::AcceptsMouse() const { return m_mouseEnabled; }
void CControlUI::SetAcceptsMouse(bool on) { m_mouseEnabled = on; }
bool CControlUI::AcceptsKeyboard() const { return m_keyboardEnabled; }
void CControlUI::SetAcceptsKeyboard(bool on) { m_keyboardEnabled = on; }
bool CControlUI::TakesFocusOnPress() const { return m_focusOnPress && AcceptsKeyboard(); }
void CControlUI::SetFocusOnPress(bool on) { m_focusOnPress = on; }

bool CControlUI::IgnoresMouseEvent(const TEventInfo& event) const
{
    return !AcceptsMouse() && IsMouseEventType(event.type);
}

bool CControlUI::PassToParent(TEventInfo& event)
{
    if (m_parent == nullptr) return false;
    m_parent->HandleEvent(event);
    return true;
}

bool CControlUI::HasFocus() const { return m_focused; }

void CControlUI::TakeFocus()
{
    if (m_manager != nullptr) m_manager->SetFocusControl(this);
}

void CControlUI::EndPress() {}

bool CControlUI::IsFloating() const { return m_floating; }

void CControlUI::SetFloating(bool on)
{
    if (m_floating == on) return;
    m_floating = on;
    RequestParentRelayout();
}

CControlUI* CControlUI::FindInTree(UIFindPredicate predicate, void* data, uint32_t flags)
{
    if ((flags & UIFIND_VISIBLE) != 0 && !GetVisibility()) return nullptr;
    if ((flags & UIFIND_ENABLED) != 0 && !GetEnabledState()) return nullptr;
    if ((flags & UIFIND_HITTEST) != 0) {
        if (!m_mouseEnabled || data == nullptr) return nullptr;
        if (!PtInRect(&m_item, *static_cast<const POINT*>(data))) return nullptr;
    }
    return predicate(this, data);
}

void CControlUI::Initialize()
{
    InitHook();
    OnInit.Invoke(this);
}

void CControlUI::InitHook() {}

void CControlUI::RaiseEvent(TEventInfo& event)
{
    if (OnEvent.Invoke(&event)) HandleEvent(event);
}

void CControlUI::HandleEvent(TEventInfo& event)
{
    switch (event.type) {
    case UIEVENT_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(m_cursor != 0 ? m_cursor : 32512)));
        return;
    case UIEVENT_SETFOCUS:
        m_focused = true;
        RequestRepaint();
        return;
    case UIEVENT_KILLFOCUS:
        m_focused = false;
        RequestRepaint();
        return;
    case UIEVENT_TIMER:
        if (m_manager != nullptr) m_manager->SendNotification(this, L"timer", event.wParam, event.lParam, false);
        return;
    case UIEVENT_CONTEXTMENU:
        if (m_menuEnabled) {
            if (m_manager != nullptr) m_manager->SendNotification(this, L"menu", event.wParam, event.lParam, false);
            return;
        }
        break;
    default:
        break;
    }
    if (m_parent != nullptr) m_parent->HandleEvent(event);
}

void CControlUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (name == nullptr || value == nullptr) return;
    if (m_manager != nullptr && value[0] != L'\0') {
        const wchar_t* style = m_manager->FindStyle(value);
        if (style != nullptr) {
            ApplyAttributeList(style);
            return;
        }
    }

    if (AttrNameEquals(name, L"innerstyle")) {
        ApplyAttributeList(value);
    } else if (AttrNameEquals(name, L"pos")) {
        int32_t v[4];
        ParseAttrIntList(value, v, 4);
        SetFixedOrigin(v[0] >= 0 ? v[0] : v[2], v[1] >= 0 ? v[1] : v[3]);
        SetFixedWidthValue(v[2] - v[0]);
        SetFixedHeightValue(v[3] - v[1]);
    } else if (AttrNameEquals(name, L"float")) {
        if (!HasChar(value, L',')) {
            SetFloating(ParseAttrBool(value));
        } else {
            double a[4];
            ParseAttrDoubleList(value, a, 4);
            SetFloatAnchors(a[0], a[1], a[2], a[3]);
            SetFloating(true);
        }
    } else if (AttrNameEquals(name, L"floatalign")) {
        SetFloatAlignment(ApplyFloatAlignWords(m_floatAlign, value));
    } else if (AttrNameEquals(name, L"padding")) {
        int32_t v[4];
        ParseAttrIntList(value, v, 4);
        SetPaddingRect(v[0], v[1], v[2], v[3]);
    } else if (AttrNameEquals(name, L"gradient")) {
        SetGradientDirection(value);
    } else if (AttrNameEquals(name, L"bkcolor") || AttrNameEquals(name, L"bkcolor1")) {
        SetBackgroundColor(ParseAttrColor(value, true));
    } else if (AttrNameEquals(name, L"bkcolor2")) {
        SetBackgroundColor2(ParseAttrColor(value, true));
    } else if (AttrNameEquals(name, L"bkcolor3")) {
        SetBackgroundColor3(ParseAttrColor(value, true));
    } else if (AttrNameEquals(name, L"forecolor")) {
        SetForegroundColor(ParseAttrColor(value, true));
    } else if (AttrNameEquals(name, L"bordercolor")) {
        SetBorderLineColor(ParseAttrColor(value, false));
    } else if (AttrNameEquals(name, L"focusbordercolor")) {
        SetFocusBorderColor(ParseAttrColor(value, false));
    } else if (AttrNameEquals(name, L"colorhsl")) {
        SetColorHslEnabled(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"bordersize")) {
        if (!HasChar(value, L',')) {
            SetBorderLineWidth(ParseAttrInt(value));
            SetBorderSideWidths(0, 0, 0, 0);
        } else {
            int32_t v[4];
            ParseAttrIntList(value, v, 4);
            SetBorderSideWidths(v[0], v[1], v[2], v[3]);
        }
    } else if (AttrNameEquals(name, L"leftbordersize")) {
        SetLeftBorderWidth(ParseAttrInt(value));
    } else if (AttrNameEquals(name, L"topbordersize")) {
        SetTopBorderWidth(ParseAttrInt(value));
    } else if (AttrNameEquals(name, L"rightbordersize")) {
        SetRightBorderWidth(ParseAttrInt(value));
    } else if (AttrNameEquals(name, L"bottombordersize")) {
        SetBottomBorderWidth(ParseAttrInt(value));
    } else if (AttrNameEquals(name, L"borderstyle")) {
        SetBorderStyle(ParseAttrInt(value));
    } else if (AttrNameEquals(name, L"borderround")) {
        int32_t v[2];
        ParseAttrIntList(value, v, 2);
        SetBorderRound(v[0], v[1]);
    } else if (AttrNameEquals(name, L"bkimage")) {
        SetBackgroundImage(value);
    } else if (AttrNameEquals(name, L"foreimage")) {
        SetForegroundImage(value);
    } else if (AttrNameEquals(name, L"width")) {
        SetFixedWidthValue(ParseAttrInt(value));
    } else if (AttrNameEquals(name, L"height")) {
        SetFixedHeightValue(ParseAttrInt(value));
    } else if (AttrNameEquals(name, L"minwidth")) {
        SetMinWidthValue(ParseAttrInt(value));
    } else if (AttrNameEquals(name, L"minheight")) {
        SetMinHeightValue(ParseAttrInt(value));
    } else if (AttrNameEquals(name, L"maxwidth")) {
        SetMaxWidthValue(ParseAttrInt(value));
    } else if (AttrNameEquals(name, L"maxheight")) {
        SetMaxHeightValue(ParseAttrInt(value));
    } else if (AttrNameEquals(name, L"name")) {
        SetControlName(value);
    } else if (AttrNameEquals(name, L"drag")) {
        SetAllowsDrag(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"drop")) {
        SetAcceptsDrop(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"resourcetext")) {
        SetUsesResourceText(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"text")) {
        SetTextContent(value);
    } else if (AttrNameEquals(name, L"tooltip")) {
        SetToolTipText(value);
    } else if (AttrNameEquals(name, L"userdata")) {
        SetUserDataText(value);
    } else if (AttrNameEquals(name, L"enabled")) {
        SetEnabledState(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"mouse")) {
        SetAcceptsMouse(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"keyboard")) {
        SetAcceptsKeyboard(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"visible")) {
        SetVisibility(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"shortcut")) {
        SetShortcutKey(value[0]);
    } else if (AttrNameEquals(name, L"menu")) {
        SetMenuEnabled(ParseAttrBool(value));
    } else if (AttrNameEquals(name, L"cursor")) {
        for (const TCursorWord& word : kCursorWords) {
            if (AttrNameEquals(value, word.word)) {
                SetCursorId(word.id);
                break;
            }
        }
    } else if (AttrNameEquals(name, L"virtualwnd")) {
        SetVirtualWindowName(value);
    } else {
        AddCustomAttribute(name, value);
    }
}

void CControlUI::ApplyAttributeList(const wchar_t* text)
{
    if (text == nullptr) return;
    if (m_styleDepth >= kMaxStyleDepth) return;
    if (m_manager != nullptr && text[0] != L'\0') {
        const wchar_t* style = m_manager->FindStyle(text);
        if (style != nullptr) {
            ++m_styleDepth;
            ApplyAttributeList(style);
            --m_styleDepth;
            return;
        }
    }

    ++m_styleDepth;
    CUIString list(text);
    list.ReplaceAll(L"&quot;", L"\"");
    const wchar_t* p = list.CStr();
    while (*p != L'\0') {
        const wchar_t* nameStart = p;
        while (*p != L'\0' && *p != L'=') ++p;
        if (*p == L'\0') break;
        CUIString name(nameStart, static_cast<int>(p - nameStart));
        ++p;
        if (*p != L'"') break;
        ++p;
        const wchar_t* valueStart = p;
        while (*p != L'\0' && *p != L'"') ++p;
        if (*p == L'\0') break;
        CUIString value(valueStart, static_cast<int>(p - valueStart));
        ++p;
        ApplyAttribute(name, value);
        if (*p == L'\0') break;
        if (*p == L' ') {
            ++p;
        } else if (p[1] == L',') {
            p += 2;
        } else {
            break;
        }
    }
    --m_styleDepth;
}

CUISize CControlUI::MeasureDesiredSize(CUISize)
{
    return CUISize(GetScaledFixedWidth(), GetScaledFixedHeight());
}

bool CControlUI::PaintArea(HDC dc, const RECT& paintArea, CControlUI* stopControl)
{
    if (stopControl == this) return false;
    RECT common;
    if (!IntersectRect(&common, &paintArea, &m_item)) {
        m_paintRect = CUIRect();
        return true;
    }
    m_paintRect = common;
    return PaintSelf(dc, m_paintRect, stopControl);
}

bool CControlUI::PaintSelf(HDC dc, const RECT&, CControlUI*)
{
    const int roundW = Scaled(m_borderRound.cx);
    const int roundH = Scaled(m_borderRound.cy);
    // Rounded corners clip every layer; a clip record left unused restores nothing.
    CRenderClip clip;
    if (roundW >= 1 || roundH >= 1) CRenderClip::ClipToRoundRect(dc, m_paintRect, m_item, roundW, roundH, clip);
    PaintBackgroundColor(dc);
    PaintBackgroundImage(dc);
    PaintStateImage(dc);
    PaintForegroundColor(dc);
    PaintForegroundImage(dc);
    PaintTextLayer(dc);
    PaintBorderLines(dc);
    return true;
}

void CControlUI::PaintBackgroundColor(HDC dc)
{
    if (m_backColor1 == 0) return;
    const bool vertical = !AttrNameEquals(m_gradient, L"hor");
    const DWORD c1 = ApplyHslToColor(m_backColor1);
    if (m_backColor2 != 0) {
        const DWORD c2 = ApplyHslToColor(m_backColor2);
        if (m_backColor3 != 0) {
            const DWORD c3 = ApplyHslToColor(m_backColor3);
            const int middle = (m_item.top + m_item.bottom) / 2;
            CUIRect upper = m_item;
            upper.bottom = middle;
            CUIRect lower = m_item;
            lower.top = middle;
            CRenderKit::FillGradient(dc, upper, c1, c2, vertical, 8);
            CRenderKit::FillGradient(dc, lower, c2, c3, vertical, 8);
        } else {
            CRenderKit::FillGradient(dc, m_item, c1, c2, vertical, 16);
        }
    } else if ((c1 >> 24) == 0xFF) {
        CRenderKit::FillRectColor(dc, m_paintRect, c1);
    } else {
        CRenderKit::FillRectColor(dc, m_item, c1);
    }
}

void CControlUI::PaintBackgroundImage(HDC dc)
{
    if (!m_backImage.IsEmpty()) DrawImageSpec(dc, m_backImage, nullptr);
}

void CControlUI::PaintStateImage(HDC) {}

void CControlUI::PaintForegroundColor(HDC dc)
{
    CRenderKit::FillRectColor(dc, m_item, ApplyHslToColor(m_foreColor));
}

void CControlUI::PaintForegroundImage(HDC dc)
{
    if (!m_foreImage.IsEmpty()) DrawImageSpec(dc, m_foreImage, nullptr);
}

void CControlUI::PaintTextLayer(HDC) {}

void CControlUI::PaintBorderLines(HDC dc)
{
    if (m_borderColor == 0 && m_focusBorderColor == 0) return;
    const int width = Scaled(m_borderWidth);
    const int roundW = Scaled(m_borderRound.cx);
    const int roundH = Scaled(m_borderRound.cy);
    const DWORD border = ApplyHslToColor(m_borderColor);
    const DWORD focus = ApplyHslToColor(m_focusBorderColor);
    const CUIRect sides(Scaled(m_sideBorders.left), Scaled(m_sideBorders.top), Scaled(m_sideBorders.right),
                        Scaled(m_sideBorders.bottom));

    if (width > 0 && (roundW > 0 || roundH > 0)) {
        const DWORD colour = (m_focused && m_focusBorderColor != 0) ? focus : border;
        CRenderKit::DrawRoundRectOutline(dc, m_item, width, roundW, roundH, colour);
    } else if (m_focused && m_focusBorderColor != 0 && width > 0) {
        CRenderKit::DrawRectOutline(dc, m_item, width, focus);
    } else if (sides.left > 0 || sides.top > 0 || sides.right > 0 || sides.bottom > 0) {
        const CUIRect& r = m_item;
        // One-pixel sides keep the pen style; wider ones are filled bands
        // inside the rectangle (a wide GDI pen is solid and straddles its line).
        auto side = [&](int w, const RECT& line, const RECT& band) {
            if (w <= 0) return;
            if (w == 1) CRenderKit::DrawLineSegment(dc, line, 1, border, m_borderStyle);
            else CRenderKit::FillRectColor(dc, band, border);
        };
        side(sides.left, {r.left, r.top, r.left, r.bottom}, {r.left, r.top, r.left + sides.left, r.bottom});
        side(sides.top, {r.left, r.top, r.right, r.top}, {r.left, r.top, r.right, r.top + sides.top});
        side(sides.right, {r.right - 1, r.top, r.right - 1, r.bottom},
             {r.right - sides.right, r.top, r.right, r.bottom});
        side(sides.bottom, {r.left, r.bottom - 1, r.right, r.bottom - 1},
             {r.left, r.bottom - sides.bottom, r.right, r.bottom});
    } else if (width > 0) {
        CRenderKit::DrawRectOutline(dc, m_item, width, border);
    }
}

void CControlUI::PaintAfterTree(HDC, const RECT&) {}

void CControlUI::RequestRepaint()
{
    if (!GetVisibility() || m_manager == nullptr) return;
    CUIRect dirty = m_item;
    for (CControlUI* parent = m_parent; parent != nullptr; parent = parent->GetParentControl()) {
        RECT clipped;
        const CUIRect& bounds = parent->GetPosition();
        if (!IntersectRect(&clipped, &dirty, &bounds)) return;
        dirty = clipped;
    }
    m_manager->InvalidateArea(dirty);
}

void CControlUI::RequestRelayout()
{
    if (!GetVisibility()) return;
    m_needsLayout = true;
    RequestRepaint();
    if (m_manager != nullptr) m_manager->MarkLayoutDirty();
}

void CControlUI::RequestParentRelayout()
{
    if (m_parent != nullptr) {
        m_parent->RequestRelayout();
        m_parent->RequestRepaint();
    } else {
        RequestRelayout();
    }
    if (m_manager != nullptr) m_manager->MarkLayoutDirty();
}

void CControlUI::SetBackgroundColor(DWORD argb) { if (StoreIfChanged(m_backColor1, argb)) RequestRepaint(); }
void CControlUI::SetBackgroundColor2(DWORD argb) { if (StoreIfChanged(m_backColor2, argb)) RequestRepaint(); }
void CControlUI::SetBackgroundColor3(DWORD argb) { if (StoreIfChanged(m_backColor3, argb)) RequestRepaint(); }
void CControlUI::SetForegroundColor(DWORD argb) { if (StoreIfChanged(m_foreColor, argb)) RequestRepaint(); }
void CControlUI::SetBorderLineColor(DWORD argb) { if (StoreIfChanged(m_borderColor, argb)) RequestRepaint(); }
void CControlUI::SetFocusBorderColor(DWORD argb) { if (StoreIfChanged(m_focusBorderColor, argb)) RequestRepaint(); }
void CControlUI::SetColorHslEnabled(bool on) { if (StoreIfChanged(m_colorHsl, on)) RequestRepaint(); }
void CControlUI::SetBorderLineWidth(int width) { if (StoreIfChanged(m_borderWidth, width)) RequestRepaint(); }

void CControlUI::SetBorderRound(int cx, int cy)
{
    m_borderRound = CUISize(cx, cy);
    RequestRepaint();
}

void CControlUI::SetBorderStyle(int style)
{
    m_borderStyle = style;
    RequestRepaint();
}

void CControlUI::SetBorderSideWidths(int left, int top, int right, int bottom)
{
    m_sideBorders = CUIRect(left, top, right, bottom);
    RequestRepaint();
}

void CControlUI::SetLeftBorderWidth(int width)
{
    m_sideBorders.left = width;
    RequestRepaint();
}

void CControlUI::SetTopBorderWidth(int width)
{
    m_sideBorders.top = width;
    RequestRepaint();
}

void CControlUI::SetRightBorderWidth(int width)
{
    m_sideBorders.right = width;
    RequestRepaint();
}

void CControlUI::SetBottomBorderWidth(int width)
{
    m_sideBorders.bottom = width;
    RequestRepaint();
}

void CControlUI::SetBackgroundImage(const wchar_t* text)
{
    if (m_manager != nullptr && text != nullptr && text[0] != L'\0') m_manager->RemoveImage(text, false);
    if (StoreTextIfChanged(m_backImage, text)) RequestRepaint();
}

void CControlUI::SetForegroundImage(const wchar_t* text)
{
    if (StoreTextIfChanged(m_foreImage, text)) RequestRepaint();
}

void CControlUI::SetGradientDirection(const wchar_t* text)
{
    if (StoreTextIfChanged(m_gradient, text)) RequestRepaint();
}

int CControlUI::GetScaledBorderLineWidth() const { return Scaled(m_borderWidth); }

void CControlUI::SetVirtualWindowName(const wchar_t* name)
{
    m_virtualWnd = name;
    if (m_manager != nullptr) m_manager->SetUsesVirtualWindows(true);
}

CUIString CControlUI::GetVirtualWindowName() const
{
    if (!m_virtualWnd.IsEmpty()) return m_virtualWnd;
    if (m_parent != nullptr) return m_parent->GetVirtualWindowName();
    return CUIString();
}

void CControlUI::AddCustomAttribute(const wchar_t* name, const wchar_t* value)
{
    if (name == nullptr || value == nullptr || name[0] == L'\0' || value[0] == L'\0') return;
    if (m_customAttributes.Lookup(name, false) != nullptr) return;
    CUIString* copy = new CUIString(value);
    if (!m_customAttributes.InsertNew(name, copy)) delete copy;
}

const wchar_t* CControlUI::FindCustomAttribute(const wchar_t* name) const
{
    // Lookup may reorder a bucket; the map's content does not change.
    CUIStringMap& map = const_cast<CUIStringMap&>(m_customAttributes);
    const CUIString* value = static_cast<const CUIString*>(map.Lookup(name, false));
    return value != nullptr ? value->CStr() : nullptr;
}

DWORD CControlUI::ApplyHslToColor(DWORD argb) const
{
    if (!m_colorHsl) return argb;
    short hue = 0;
    short saturation = 0;
    short lightness = 0;
    if (!CPaintManagerUI::HslState(&hue, &saturation, &lightness)) return argb;
    return CRenderKit::AdjustColorHsl(argb, hue, saturation, lightness);
}

bool CControlUI::DrawImageSpec(HDC dc, const wchar_t* specText, const wchar_t* modifier)
{
    return CRenderKit::DrawImageSpec(dc, m_manager, m_item, m_paintRect, specText, modifier, nullptr);
}

} // namespace SkinUI
