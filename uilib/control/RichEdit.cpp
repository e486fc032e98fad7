#include "uilib/control/RichEdit.h"

#include <cwchar>

#include "uilib/control/ScrollBar.h"
#include "uilib/control/TxtWinHost.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/RenderKit.h"

namespace SkinUI {

namespace {

const DWORD kEventMask = ENM_CHANGE | ENM_DROPFILES | ENM_LINK;

// A leading "#" and any blanks or control characters before it are skipped.
DWORD ParseLooseColor(const wchar_t* value)
{
    while (*value != L'\0' && *value <= L' ') ++value;
    return ParseAttrColor(value, false);
}

bool IsTrue(const wchar_t* value)
{
    return wcscmp(value, L"true") == 0;
}

} // namespace

CRichEditUI::CRichEditUI()
    : m_host(nullptr), m_vBarFixing(false), m_wantTab(true), m_wantReturn(true), m_wantCtrlReturn(true),
      m_transparent(true), m_rich(true), m_readOnly(false), m_textColor(0), m_font(-1), m_limit(32767),
      m_hostStyle(ES_MULTILINE), m_drawCaret(true), m_initialised(false), m_textPadding(), m_buttonState(0),
      m_tipValueColor(0xFFBAC0C5), m_tipValueAlign(DT_SINGLELINE)
{
}

CRichEditUI::~CRichEditUI()
{
    if (m_host != nullptr) {
        CTxtWinHost* host = m_host;
        m_host = nullptr;
        host->Release();
    }
    if (m_manager != nullptr) {
        m_manager->UnregisterMessageFilter(this);
        m_manager->StopControlTimers(this);
    }
}

const wchar_t* CRichEditUI::GetTypeName() const
{
    return L"RichEditUI";
}

void* CRichEditUI::FindInterface(const wchar_t* name)
{
    if (wcscmp(name, L"RichEdit") == 0) return this;
    return CContainerUI::FindInterface(name);
}

uint32_t CRichEditUI::GetBehaviorFlags() const
{
    if (!GetEnabledState()) return 0;
    return UIFLAG_TABSTOP | UIFLAG_SETCURSOR | (m_wantTab ? static_cast<uint32_t>(UIFLAG_WANTTAB) : 0u);
}

void CRichEditUI::AttachManager(CPaintManagerUI* manager, CControlUI* parent, bool initNow)
{
    CPaintManagerUI* old = m_manager;
    if (old != nullptr && old != manager) {
        old->UnregisterMessageFilter(this);
        old->StopControlTimers(this);
    }
    // A host made by this attachment registered itself.
    const bool hadHost = m_host != nullptr;
    CContainerUI::AttachManager(manager, parent, initNow);
    if (hadHost && manager != nullptr && manager != old) {
        manager->RegisterMessageFilter(this);
        manager->StartTimer(this, kCaretTimerId, GetCaretBlinkTime());
    }
}

void CRichEditUI::InitHook()
{
    if (m_initialised) return;
    m_initialised = true;
    CREATESTRUCTW create = {};
    create.style = static_cast<LONG>(m_hostStyle);
    create.lpszName = m_text.CStr();
    CTxtWinHost* host = new CTxtWinHost();
    if (!host->Init(this, &create)) {
        host->Release();
        return;
    }
    m_host = host;
    if (m_transparent) m_host->SetTransparent(true);
    LRESULT ignored = 0;
    TxSendMessage(EM_SETLANGOPTIONS, 0, 0, &ignored);
    TxSendMessage(EM_SETEVENTMASK, 0, kEventMask, &ignored);
    m_host->ActivateInPlace(nullptr);
    if (m_manager != nullptr) {
        m_manager->RegisterMessageFilter(this);
        m_manager->StartTimer(this, kCaretTimerId, GetCaretBlinkTime());
        if (!GetEnabledState()) m_host->SetColor(m_manager->DefaultDisabledTextColor());
    }
}

void CRichEditUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (wcscmp(name, L"vscrollbar") == 0) {
        if (IsTrue(value)) m_hostStyle |= WS_VSCROLL | ES_DISABLENOSCROLL;
        CContainerUI::ApplyAttribute(name, value);
    } else if (wcscmp(name, L"autovscroll") == 0) {
        if (IsTrue(value)) m_hostStyle |= ES_AUTOVSCROLL;
        CContainerUI::ApplyAttribute(name, value);
    } else if (wcscmp(name, L"hscrollbar") == 0) {
        if (IsTrue(value)) m_hostStyle |= WS_HSCROLL | ES_DISABLENOSCROLL;
        CContainerUI::ApplyAttribute(name, value);
    } else if (wcscmp(name, L"autohscroll") == 0) {
        if (IsTrue(value)) m_hostStyle |= ES_AUTOHSCROLL;
    } else if (AttrNameEquals(name, L"multiline")) {
        SetMultiLine(IsTrue(value));
    } else if (wcscmp(name, L"wanttab") == 0) {
        SetWantTab(IsTrue(value));
    } else if (wcscmp(name, L"wantreturn") == 0) {
        SetWantReturn(IsTrue(value));
    } else if (wcscmp(name, L"wantctrlreturn") == 0) {
        SetWantCtrlReturn(IsTrue(value));
    } else if (wcscmp(name, L"transparent") == 0) {
        SetTransparent(IsTrue(value));
    } else if (wcscmp(name, L"rich") == 0) {
        SetRich(IsTrue(value));
    } else if (wcscmp(name, L"readonly") == 0) {
        if (IsTrue(value)) {
            m_hostStyle |= ES_READONLY;
            m_readOnly = true;
        }
    } else if (wcscmp(name, L"password") == 0) {
        if (IsTrue(value)) m_hostStyle |= ES_PASSWORD;
    } else if (wcscmp(name, L"align") == 0) {
        if (wcsstr(value, L"left") != nullptr) m_hostStyle &= ~(ES_CENTER | ES_RIGHT);
        if (wcsstr(value, L"center") != nullptr) m_hostStyle |= ES_CENTER;
        if (wcsstr(value, L"right") != nullptr) m_hostStyle |= ES_RIGHT;
    } else if (wcscmp(name, L"font") == 0) {
        SetFont(ParseAttrInt(value));
    } else if (wcscmp(name, L"textcolor") == 0) {
        SetTextColor(ParseLooseColor(value));
    } else if (AttrNameEquals(name, L"maxchar")) {
        SetLimitText(ParseAttrInt(value));
    } else if (AttrNameEquals(name, L"normalimage")) {
        SetNormalImage(value);
    } else if (AttrNameEquals(name, L"hotimage")) {
        SetHotImage(value);
    } else if (AttrNameEquals(name, L"focusedimage")) {
        SetFocusedImage(value);
    } else if (AttrNameEquals(name, L"disabledimage")) {
        SetDisabledImage(value);
    } else if (AttrNameEquals(name, L"textpadding")) {
        int32_t v[4];
        ParseAttrIntList(value, v, 4);
        const RECT rc = {v[0], v[1], v[2], v[3]};
        SetTextPadding(rc);
    } else if (AttrNameEquals(name, L"tipvalue")) {
        SetTipValue(value);
    } else if (AttrNameEquals(name, L"tipvaluecolor")) {
        SetTipValueColor(ParseAttrColor(value, false));
    } else if (AttrNameEquals(name, L"tipvaluealign")) {
        if (wcsstr(value, L"left") != nullptr) m_tipValueAlign = DT_SINGLELINE | DT_LEFT;
        if (wcsstr(value, L"center") != nullptr) m_tipValueAlign = DT_SINGLELINE | DT_CENTER;
        if (wcsstr(value, L"right") != nullptr) m_tipValueAlign = DT_SINGLELINE | DT_RIGHT;
    } else {
        CContainerUI::ApplyAttribute(name, value);
    }
}

void CRichEditUI::SetMultiLine(bool on)
{
    if (on) m_hostStyle |= ES_MULTILINE;
    else m_hostStyle &= ~static_cast<DWORD>(ES_MULTILINE);
}

void CRichEditUI::SetTransparent(bool on)
{
    m_transparent = on;
    if (m_host != nullptr) m_host->SetTransparent(on);
}

void CRichEditUI::SetRich(bool on)
{
    m_rich = on;
    if (m_host != nullptr) m_host->SetRich(on);
}

void CRichEditUI::SetFont(int index)
{
    m_font = index;
    if (m_host != nullptr && m_manager != nullptr) m_host->SetFont(m_manager->FontHandle(index));
}

void CRichEditUI::SetTextColor(DWORD argb)
{
    m_textColor = argb;
    if (m_host != nullptr) m_host->SetColor(argb);
}

void CRichEditUI::SetLimitText(int limit)
{
    m_limit = limit;
    if (m_host != nullptr) m_host->SetLimitText(limit);
}

void CRichEditUI::SetTextPadding(const RECT& rc)
{
    m_textPadding = rc;
    RequestRepaint();
}

void CRichEditUI::SetNormalImage(const wchar_t* text)
{
    m_images.normal = text;
    RequestRepaint();
}

void CRichEditUI::SetHotImage(const wchar_t* text)
{
    m_images.hot = text;
    RequestRepaint();
}

void CRichEditUI::SetFocusedImage(const wchar_t* text)
{
    m_images.focused = text;
    RequestRepaint();
}

void CRichEditUI::SetDisabledImage(const wchar_t* text)
{
    m_images.disabled = text;
    RequestRepaint();
}

void CRichEditUI::SetTipValue(const wchar_t* text)
{
    m_tipValue = text;
    RequestRepaint();
}

void CRichEditUI::SetTipValueColor(DWORD argb)
{
    m_tipValueColor = argb;
    RequestRepaint();
}

HRESULT CRichEditUI::TxSendMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (m_host == nullptr || m_host->Services() == nullptr) return S_FALSE;
    const bool isReturn = (message == WM_KEYDOWN && wParam == VK_RETURN) ||
                          (message == WM_CHAR && (wParam == L'\r' || wParam == L'\n'));
    if (isReturn) {
        const bool ctrl = GetKeyState(VK_CONTROL) < 0;
        if (!m_wantReturn || (ctrl && !m_wantCtrlReturn)) {
            // The character that follows a refused Return is dropped too.
            if (message == WM_KEYDOWN && m_manager != nullptr) m_manager->SendNotification(this, L"return");
            return S_OK;
        }
    }
    return m_host->Services()->TxSendMessage(message, wParam, lParam, result);
}

bool CRichEditUI::OnTxViewChanged()
{
    return true;
}

void CRichEditUI::OnTxNotify(DWORD code, void* data)
{
    switch (code) {
    case EN_CHANGE:
        if (m_manager != nullptr) m_manager->SendNotification(this, L"textchanged");
        break;
    case EN_MSGFILTER:
    case EN_SELCHANGE:
    case EN_DROPFILES:
    case EN_PROTECTED:
    case EN_STOPNOUNDO:
    case EN_SAVECLIPBOARD:
    case EN_OLEOPFAILED:
    case EN_OBJECTPOSITIONS:
    case EN_LINK:
    case EN_DRAGDROPDONE: {
        if (data == nullptr || m_manager == nullptr) break;
        HWND window = m_manager->WindowHandle();
        NMHDR* header = static_cast<NMHDR*>(data);
        header->hwndFrom = window;
        header->idFrom = static_cast<UINT_PTR>(GetWindowLongW(window, GWL_ID));
        header->code = code;
        SendMessageW(window, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(data));
        break;
    }
    default:
        break;
    }
}

CUIRect CRichEditUI::ViewRect() const
{
    return InnerRect();
}

CUIRect CRichEditUI::ClientRectOf(const CUIRect& view, bool withPadding) const
{
    if (!withPadding) return view;
    return CUIRect(view.left + Scaled(m_textPadding.left), view.top + Scaled(m_textPadding.top),
                   view.right - Scaled(m_textPadding.right), view.bottom - Scaled(m_textPadding.bottom));
}

long CRichEditUI::NaturalHeight(int width) const
{
    if (m_host == nullptr || m_host->Services() == nullptr || m_manager == nullptr) return -1;
    LONG w = width;
    LONG h = 0;
    SIZEL extent = {-1, -1};
    if (FAILED(m_host->Services()->TxGetNaturalSize(DVASPECT_CONTENT, m_manager->DeviceContext(), nullptr, nullptr,
                                                      TXTNS_FITTOCONTENT, &extent, &w, &h)))
        return -1;
    return h;
}

void CRichEditUI::SetPosition(const RECT& rc, bool invalidate)
{
    CContainerUI::SetPosition(rc, invalidate);
    if (m_host == nullptr) return;
    CUIRect view = ViewRect();
    m_host->SetClientRect(ClientRectOf(view, true));
    if (m_vScrollBar != nullptr && (!m_vScrollBar->GetVisibility() || m_vBarFixing)) {
        // The text at the full width: taller than the view, it needs the bar.
        const int textWidth = view.Width() + VisibleVBarWidth() - Scaled(m_textPadding.left + m_textPadding.right);
        const long natural = NaturalHeight(textWidth);
        const bool wasShown = m_vScrollBar->GetVisibility();
        if (natural > view.Height()) {
            if (!wasShown) {
                m_vScrollBar->SetVisibility(true);
                m_vScrollBar->SetScrollPos(0);
            }
            m_vBarFixing = true;
        } else if (m_vBarFixing) {
            m_vScrollBar->SetVisibility(false);
            m_vBarFixing = false;
        }
        if (wasShown != m_vScrollBar->GetVisibility()) {
            CContainerUI::SetPosition(m_item, false);
            view = ViewRect();
            m_host->SetClientRect(ClientRectOf(view, true));
        }
    }
    const CUIRect inset = GetScaledInsetRect();
    if (IsScrollBarShown(m_vScrollBar)) {
        const RECT bar = {view.right, m_item.top + inset.top, view.right + VisibleVBarWidth(), view.bottom};
        m_vScrollBar->SetPosition(bar, false);
    }
    if (IsScrollBarShown(m_hScrollBar)) {
        const RECT bar = {m_item.left + inset.left, view.bottom, view.right, view.bottom + VisibleHBarHeight()};
        m_hScrollBar->SetPosition(bar, false);
    }
}

void CRichEditUI::EndPress()
{
    if (m_host == nullptr || !m_host->IsCaptured()) return;
    m_host->TxSetCapture(FALSE);
    LRESULT result = 0;
    TxSendMessage(WM_CAPTURECHANGED, 0, 0, &result);
}

void CRichEditUI::SetEnabledState(bool enabled)
{
    CContainerUI::SetEnabledState(enabled);
    if (m_host == nullptr || m_manager == nullptr) return;
    m_host->SetColor(enabled ? m_textColor : m_manager->DefaultDisabledTextColor());
    RequestRepaint();
}

void CRichEditUI::OffsetBy(int dx, int dy, bool invalidate)
{
    CContainerUI::OffsetBy(dx, dy, invalidate);
    if (m_host != nullptr) m_host->SetClientRect(ClientRectOf(ViewRect(), true));
}

CUISize CRichEditUI::MeasureDesiredSize(CUISize available)
{
    return CControlUI::MeasureDesiredSize(available);
}

bool CRichEditUI::PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl)
{
    RECT area;
    if (!IntersectRect(&area, &paintArea, &m_item)) return true;
    // The container paints the layers (the text services draw as the text
    // layer), the children and the bars.
    const bool goOn = CContainerUI::PaintSelf(dc, paintArea, stopControl);
    if (m_host != nullptr && m_vBarFixing) {
        RECT client;
        m_host->GetControlRect(&client);
        const long natural = NaturalHeight(client.right - client.left + VisibleVBarWidth());
        if (natural >= 0 && natural <= ViewRect().Height()) RequestRelayout();
    }
    CRenderClip clip;
    CRenderClip::ClipToRect(dc, area, clip);
    PaintSelfCaret(dc);
    PaintTipValue(dc);
    return goOn;
}

void CRichEditUI::PaintTextLayer(HDC dc)
{
    if (m_host == nullptr || m_host->Services() == nullptr) return;
    RECT client;
    m_host->GetControlRect(&client);
    RECTL bounds = {client.left, client.top, client.right, client.bottom};
    m_host->Services()->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, dc, nullptr, &bounds, nullptr, nullptr,
                               nullptr, 0, TXTVIEW_ACTIVE);
}

void CRichEditUI::PaintStateImage(HDC dc)
{
    m_images.Paint(*this, dc, m_buttonState);
}

void CRichEditUI::PaintSelfCaret(HDC dc)
{
    if (m_manager == nullptr || !m_manager->IsLayeredMode() || !m_focused || m_host == nullptr) return;
    if (!m_host->IsCaretShown() || !m_drawCaret) return;
    POINT pt;
    if (!GetCaretPos(&pt) || !PtInRect(&m_item, pt)) return;
    const RECT line = {pt.x, pt.y, pt.x, pt.y + m_host->CaretHeight()};
    // Black is the layered window's transparent colour, as for the text.
    DWORD color = m_textColor != 0 ? m_textColor : m_manager->DefaultTextColor();
    CRenderKit::AvoidZeroRgb(color);
    CRenderKit::DrawLineSegment(dc, line, m_host->CaretWidth(), color, PS_SOLID);
}

void CRichEditUI::PaintTipValue(HDC dc)
{
    if (m_tipValue.IsEmpty() || m_focused || m_manager == nullptr) return;
    if (!GetTextContent().IsEmpty()) return;
    RECT rc = ClientRectOf(m_item, true);
    const UINT style = m_tipValueAlign | (IsMultiLine() ? 0 : DT_VCENTER);
    CRenderKit::DrawPlainText(dc, m_manager, rc, m_tipValue, m_tipValueColor, m_font, style);
}

CUIString CRichEditUI::GetTextContent() const
{
    if (m_host == nullptr || m_host->Services() == nullptr) return m_text;
    GETTEXTLENGTHEX lengthQuery = {GTL_DEFAULT, 1200};
    LRESULT length = 0;
    m_host->Services()->TxSendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0, &length);
    if (length <= 0) return CUIString();
    wchar_t* buffer = new wchar_t[length + 1]();
    GETTEXTEX query = {};
    query.cb = static_cast<DWORD>((length + 1) * sizeof(wchar_t));
    query.flags = GT_DEFAULT;
    query.codepage = 1200;
    LRESULT copied = 0;
    m_host->Services()->TxSendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                                      reinterpret_cast<LPARAM>(buffer), &copied);
    CUIString text(buffer);
    delete[] buffer;
    return text;
}

void CRichEditUI::SetTextContent(const wchar_t* text)
{
    m_text = text;
    if (m_host == nullptr) return;
    SetSel(0, -1);
    ReplaceSel(text, false);
}

bool CRichEditUI::CanUndo() const
{
    LRESULT result = 0;
    if (m_host == nullptr || m_host->Services() == nullptr) return false;
    m_host->Services()->TxSendMessage(EM_CANUNDO, 0, 0, &result);
    return result != 0;
}

bool CRichEditUI::CanRedo() const
{
    LRESULT result = 0;
    if (m_host == nullptr || m_host->Services() == nullptr) return false;
    m_host->Services()->TxSendMessage(EM_CANREDO, 0, 0, &result);
    return result != 0;
}

bool CRichEditUI::Undo()
{
    LRESULT result = 0;
    TxSendMessage(EM_UNDO, 0, 0, &result);
    return result != 0;
}

bool CRichEditUI::Redo()
{
    LRESULT result = 0;
    TxSendMessage(EM_REDO, 0, 0, &result);
    return result != 0;
}

void CRichEditUI::Cut()
{
    LRESULT result = 0;
    TxSendMessage(WM_CUT, 0, 0, &result);
}

void CRichEditUI::Copy()
{
    LRESULT result = 0;
    TxSendMessage(WM_COPY, 0, 0, &result);
}

void CRichEditUI::Paste()
{
    LRESULT result = 0;
    TxSendMessage(WM_PASTE, 0, 0, &result);
}

void CRichEditUI::Clear()
{
    LRESULT result = 0;
    TxSendMessage(WM_CLEAR, 0, 0, &result);
}

void CRichEditUI::SetSel(long start, long end)
{
    CHARRANGE range = {start, end};
    LRESULT result = 0;
    TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range), &result);
}

void CRichEditUI::SelectAll()
{
    SetSel(0, -1);
}

void CRichEditUI::ReplaceSel(const wchar_t* text, bool canUndo)
{
    LRESULT result = 0;
    TxSendMessage(EM_REPLACESEL, canUndo ? TRUE : FALSE, reinterpret_cast<LPARAM>(text), &result);
}

WORD CRichEditUI::GetSelectionType() const
{
    LRESULT result = 0;
    if (m_host == nullptr || m_host->Services() == nullptr) return 0;
    m_host->Services()->TxSendMessage(EM_SELECTIONTYPE, 0, 0, &result);
    return LOWORD(result);
}

long CRichEditUI::GetTextLength(DWORD flags) const
{
    if (m_host == nullptr || m_host->Services() == nullptr) return 0;
    GETTEXTLENGTHEX query = {flags, 1200};
    LRESULT result = 0;
    m_host->Services()->TxSendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0, &result);
    return static_cast<long>(result);
}

void CRichEditUI::ScrollCommand(UINT message, WPARAM code)
{
    LRESULT result = 0;
    TxSendMessage(message, code, 0, &result);
}

void CRichEditUI::SetScrollOffset(CUISize offset, bool)
{
    int dx = 0;
    int dy = 0;
    int before = 0;
    if (IsScrollBarShown(m_vScrollBar)) {
        before = m_vScrollBar->GetScrollPos();
        m_vScrollBar->SetScrollPos(offset.cy);
        dy = m_vScrollBar->GetScrollPos() - before;
    }
    if (IsScrollBarShown(m_hScrollBar)) {
        const int was = m_hScrollBar->GetScrollPos();
        m_hScrollBar->SetScrollPos(offset.cx);
        dx = m_hScrollBar->GetScrollPos() - was;
    }
    if (dy != 0) {
        ScrollCommand(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, m_vScrollBar->GetScrollPos()));
        // Plain text may refuse to move; the bar goes back where the text is.
        if (!m_rich && IsScrollBarShown(m_vScrollBar) && dy > 0 && m_vScrollBar->GetScrollPos() <= before)
            m_vScrollBar->SetScrollPos(before);
    }
    if (dx != 0) ScrollCommand(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, m_hScrollBar->GetScrollPos()));
}

void CRichEditUI::ScrollLineUp() { ScrollCommand(WM_VSCROLL, SB_LINEUP); }

void CRichEditUI::ScrollLineDown()
{
    const bool plainWithBar = !m_rich && IsScrollBarShown(m_vScrollBar);
    const int before = plainWithBar ? m_vScrollBar->GetScrollPos() : 0;
    ScrollCommand(WM_VSCROLL, SB_LINEDOWN);
    if (plainWithBar && m_vScrollBar->GetScrollPos() <= before)
        m_vScrollBar->SetScrollPos(m_vScrollBar->GetScrollRange());
}

void CRichEditUI::ScrollPageUp() { ScrollCommand(WM_VSCROLL, SB_PAGEUP); }
void CRichEditUI::ScrollPageDown() { ScrollCommand(WM_VSCROLL, SB_PAGEDOWN); }
void CRichEditUI::ScrollToTop() { ScrollCommand(WM_VSCROLL, SB_TOP); }
void CRichEditUI::ScrollToBottom() { ScrollCommand(WM_VSCROLL, SB_BOTTOM); }
void CRichEditUI::ScrollLineLeft() { ScrollCommand(WM_HSCROLL, SB_LINELEFT); }
void CRichEditUI::ScrollLineRight() { ScrollCommand(WM_HSCROLL, SB_LINERIGHT); }
void CRichEditUI::ScrollPageLeft() { ScrollCommand(WM_HSCROLL, SB_PAGELEFT); }
void CRichEditUI::ScrollPageRight() { ScrollCommand(WM_HSCROLL, SB_PAGERIGHT); }
void CRichEditUI::ScrollToLeftEnd() { ScrollCommand(WM_HSCROLL, SB_LEFT); }
void CRichEditUI::ScrollToRightEnd() { ScrollCommand(WM_HSCROLL, SB_RIGHT); }

} // namespace SkinUI
