#include "uilib/control/TxtWinHost.h"

#include <cwchar>

#include "uilib/control/RichEdit.h"
#include "uilib/control/ScrollBar.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/SystemEntry.h"

namespace SkinUI {

namespace {

// {13E670F4-1A5A-11CF-ABEB-00AA00B65EA1}
const IID kIidTextHost = {0x13e670f4, 0x1a5a, 0x11cf, {0xab, 0xeb, 0x00, 0xaa, 0x00, 0xb6, 0x5e, 0xa1}};

typedef HRESULT(WINAPI* CreateTextServicesFunction)(IUnknown* outer, ITextHost* host, IUnknown** out);

const DWORD kCharFormatMask = CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC |
                              CFM_UNDERLINE;

int& LiveHosts()
{
    static int count = 0;
    return count;
}

COLORREF ColorRefOf(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

LONG HimetricOf(int pixels, int logPixels)
{
    return MulDiv(pixels, 2540, logPixels);
}

int ScreenLogPixels(int index)
{
    HDC screen = GetDC(nullptr);
    const int value = GetDeviceCaps(screen, index);
    ReleaseDC(nullptr, screen);
    return value > 0 ? value : 96;
}

} // namespace

CTxtWinHost::CTxtWinHost()
    : m_owner(nullptr), m_refs(0), m_services(nullptr), m_hostStyle(0), m_flags(0), m_caretWidth(0),
      m_caretHeight(0), m_drawnCaretWidth(0), m_drawnCaretHeight(0), m_selectionBarWidth(0), m_limit(32767),
      m_clientRect(), m_extent(), m_charFormat(), m_paraFormat(), m_acceleratorPos(-1), m_passwordChar(0)
{
    ++LiveHosts();
}

CTxtWinHost::~CTxtWinHost()
{
    if (m_services != nullptr) {
        m_services->OnTxInPlaceDeactivate();
        m_services->Release();
    }
    --LiveHosts();
}

int CTxtWinHost::LiveCount()
{
    return LiveHosts();
}

bool CTxtWinHost::Init(CRichEditUI* owner, const CREATESTRUCTW* create)
{
    m_owner = owner;
    m_refs = 1;
    CPaintManagerUI* manager = owner->GetPaintManager();
    FillCharFormat(manager != nullptr ? manager->FontHandle(owner->GetFont()) : nullptr);
    SetColor(owner->GetTextColor());

    m_paraFormat.cbSize = sizeof(m_paraFormat);
    m_paraFormat.dwMask = PFM_ALL;
    m_paraFormat.wAlignment = PFA_LEFT;
    m_paraFormat.cTabCount = 1;
    m_paraFormat.rgxTabs[0] = 720;

    m_hostStyle = ES_MULTILINE;
    SetFlag(kRich, owner->IsRich());
    m_limit = owner->GetLimitText() < 1 ? 32767 : owner->GetLimitText();
    if (create != nullptr) m_hostStyle = static_cast<DWORD>(create->style);
    if ((m_hostStyle & (ES_AUTOHSCROLL | WS_HSCROLL)) == 0) m_flags |= kWordWrap;
    if (m_hostStyle & ES_CENTER) m_paraFormat.wAlignment = PFA_CENTER;
    else if (m_hostStyle & ES_RIGHT) m_paraFormat.wAlignment = PFA_RIGHT;
    // A password edit without a character of its own would show its text.
    if (m_hostStyle & ES_PASSWORD) m_passwordChar = L'*';
    m_flags |= kInPlaceActive;

    auto createServices = SystemEntry<CreateTextServicesFunction>(L"Msftedit.dll", "CreateTextServices");
    HMODULE library = GetModuleHandleW(L"Msftedit.dll");
    // The library exports the interface id, which no import library has.
    const IID* iidServices =
        library != nullptr ? reinterpret_cast<const IID*>(GetProcAddress(library, "IID_ITextServices")) : nullptr;
    if (createServices == nullptr || iidServices == nullptr) return false;
    IUnknown* unknown = nullptr;
    if (FAILED(createServices(nullptr, this, &unknown)) || unknown == nullptr) return false;
    const HRESULT hr = unknown->QueryInterface(*iidServices, reinterpret_cast<void**>(&m_services));
    unknown->Release();
    if (FAILED(hr) || m_services == nullptr) {
        m_services = nullptr;
        return false;
    }
    // The services read the limit only when told it changed.
    SetLimitText(m_limit);
    if (create != nullptr && create->lpszName != nullptr && create->lpszName[0] != L'\0') {
        if (FAILED(m_services->TxSetText(create->lpszName))) return false;
    }
    return true;
}

HWND CTxtWinHost::PaintWindow() const
{
    CPaintManagerUI* manager = m_owner != nullptr ? m_owner->GetPaintManager() : nullptr;
    return manager != nullptr ? manager->WindowHandle() : nullptr;
}

void CTxtWinHost::SetFlag(DWORD bit, bool on)
{
    if (on) m_flags |= bit;
    else m_flags &= ~bit;
}

void CTxtWinHost::FillCharFormat(HFONT font)
{
    const COLORREF colour = m_charFormat.crTextColor;
    LOGFONTW lf = {};
    if (font == nullptr || GetObjectW(font, sizeof(lf), &lf) == 0)
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    CPaintManagerUI* manager = m_owner != nullptr ? m_owner->GetPaintManager() : nullptr;
    HDC dc = manager != nullptr ? manager->DeviceContext() : nullptr;
    const int logPixelsY = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : ScreenLogPixels(LOGPIXELSY);

    m_charFormat = CHARFORMAT2W();
    m_charFormat.cbSize = sizeof(m_charFormat);
    m_charFormat.dwMask = kCharFormatMask;
    m_charFormat.crTextColor = colour;
    m_charFormat.yHeight = -lf.lfHeight * 1440 / (logPixelsY > 0 ? logPixelsY : 96);
    m_charFormat.yOffset = 0;
    if (lf.lfWeight >= FW_BOLD) m_charFormat.dwEffects |= CFE_BOLD;
    if (lf.lfItalic) m_charFormat.dwEffects |= CFE_ITALIC;
    if (lf.lfUnderline) m_charFormat.dwEffects |= CFE_UNDERLINE;
    m_charFormat.bCharSet = lf.lfCharSet;
    m_charFormat.bPitchAndFamily = lf.lfPitchAndFamily;
    wcsncpy(m_charFormat.szFaceName, lf.lfFaceName, LF_FACESIZE - 1);
}

HRESULT STDMETHODCALLTYPE CTxtWinHost::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIidTextHost)) {
        AddRef();
        *out = static_cast<ITextHost*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CTxtWinHost::AddRef()
{
    return ++m_refs;
}

ULONG STDMETHODCALLTYPE CTxtWinHost::Release()
{
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

HDC CTxtWinHost::TxGetDC()
{
    CPaintManagerUI* manager = m_owner != nullptr ? m_owner->GetPaintManager() : nullptr;
    return manager != nullptr ? manager->DeviceContext() : nullptr;
}

INT CTxtWinHost::TxReleaseDC(HDC)
{
    return 1;
}

WINBOOL CTxtWinHost::TxShowScrollBar(INT bar, WINBOOL show)
{
    if (m_owner == nullptr) return FALSE;
    CScrollBarUI* vertical = m_owner->GetVScrollBarControl();
    CScrollBarUI* horizontal = m_owner->GetHScrollBarControl();
    if ((bar == SB_VERT || bar == SB_BOTH) && vertical != nullptr) vertical->SetVisibility(show == TRUE);
    if ((bar == SB_HORZ || bar == SB_BOTH) && horizontal != nullptr) horizontal->SetVisibility(show == TRUE);
    return TRUE;
}

WINBOOL CTxtWinHost::TxEnableScrollBar(INT flags, INT arrows)
{
    if (m_owner == nullptr) return FALSE;
    const bool vertical = flags == SB_VERT || flags == SB_BOTH;
    const bool horizontal = flags == SB_HORZ || flags == SB_BOTH;
    if (!vertical && !horizontal) return TRUE;
    m_owner->SetScrollBarsEnabled(vertical || m_owner->GetVScrollBarControl() != nullptr,
                                  horizontal || m_owner->GetHScrollBarControl() != nullptr);
    if (arrows != ESB_DISABLE_BOTH) TxShowScrollBar(flags, TRUE);
    return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL)
{
    if (m_owner == nullptr) return FALSE;
    CScrollBarUI* target = bar == SB_VERT ? m_owner->GetVScrollBarControl()
                           : bar == SB_HORZ ? m_owner->GetHScrollBarControl()
                                            : nullptr;
    if (target == nullptr) return TRUE;
    const LONG client =
        bar == SB_VERT ? m_clientRect.bottom - m_clientRect.top : m_clientRect.right - m_clientRect.left;
    const LONG span = maxPos - minPos - client;
    if (span < 1) {
        target->SetVisibility(false);
    } else {
        target->SetVisibility(true);
        target->SetScrollRange(span);
    }
    return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollPos(INT bar, INT pos, WINBOOL)
{
    if (m_owner == nullptr) return FALSE;
    CScrollBarUI* target = bar == SB_VERT ? m_owner->GetVScrollBarControl()
                           : bar == SB_HORZ ? m_owner->GetHScrollBarControl()
                                            : nullptr;
    if (target != nullptr) target->SetScrollPos(pos);
    return TRUE;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT rc, WINBOOL)
{
    CPaintManagerUI* manager = m_owner != nullptr ? m_owner->GetPaintManager() : nullptr;
    if (manager == nullptr) return;
    RECT area = rc != nullptr ? *rc : m_clientRect;
    manager->InvalidateArea(area);
}

void CTxtWinHost::TxViewChange(WINBOOL)
{
    if (m_owner != nullptr && m_owner->OnTxViewChanged()) m_owner->RequestRepaint();
}

WINBOOL CTxtWinHost::TxCreateCaret(HBITMAP bitmap, INT width, INT height)
{
    m_caretWidth = width;
    m_caretHeight = height;
    return CreateCaret(PaintWindow(), bitmap, width, height);
}

WINBOOL CTxtWinHost::TxShowCaret(WINBOOL show)
{
    SetFlag(kCaretShown, show != FALSE);
    return show ? ShowCaret(PaintWindow()) : HideCaret(PaintWindow());
}

WINBOOL CTxtWinHost::TxSetCaretPos(INT x, INT y)
{
    CPaintManagerUI* manager = m_owner != nullptr ? m_owner->GetPaintManager() : nullptr;
    const bool layered = manager != nullptr && manager->IsLayeredMode();
    POINT old = {0, 0};
    GetCaretPos(&old);
    if (manager != nullptr && (layered || (m_flags & kCaretStale) != 0)) {
        RECT was = {old.x, old.y, old.x + m_drawnCaretWidth, old.y + m_drawnCaretHeight};
        manager->InvalidateArea(was);
        m_flags &= ~kCaretStale;
    }
    if (layered) {
        RECT now = {x, y, x + m_caretWidth, y + m_caretHeight};
        manager->InvalidateArea(now);
    }
    m_drawnCaretWidth = m_caretWidth;
    m_drawnCaretHeight = m_caretHeight;
    return SetCaretPos(x, y);
}

WINBOOL CTxtWinHost::TxSetTimer(UINT id, UINT ms)
{
    m_flags |= kTimerSet;
    CPaintManagerUI* manager = m_owner != nullptr ? m_owner->GetPaintManager() : nullptr;
    return manager != nullptr && manager->StartTimer(m_owner, id, ms) ? TRUE : FALSE;
}

void CTxtWinHost::TxKillTimer(UINT id)
{
    CPaintManagerUI* manager = m_owner != nullptr ? m_owner->GetPaintManager() : nullptr;
    if (manager != nullptr) manager->StopTimer(m_owner, id);
    m_flags &= ~kTimerSet;
}

void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) {}

void CTxtWinHost::TxSetCapture(WINBOOL capture)
{
    CPaintManagerUI* manager = m_owner != nullptr ? m_owner->GetPaintManager() : nullptr;
    if (manager != nullptr) manager->HoldMouseFor(m_owner, capture != FALSE);
    SetFlag(kCaptured, capture != FALSE);
}

void CTxtWinHost::TxSetFocus()
{
    if (m_owner != nullptr) m_owner->TakeFocus();
}

void CTxtWinHost::TxSetCursor(HCURSOR cursor, WINBOOL)
{
    SetCursor(cursor);
}

WINBOOL CTxtWinHost::TxScreenToClient(LPPOINT pt)
{
    return ScreenToClient(PaintWindow(), pt);
}

WINBOOL CTxtWinHost::TxClientToScreen(LPPOINT pt)
{
    return ClientToScreen(PaintWindow(), pt);
}

HRESULT CTxtWinHost::TxActivate(LONG*)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxDeactivate(LONG)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxGetClientRect(LPRECT rc)
{
    *rc = m_clientRect;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT rc)
{
    rc->left = rc->top = rc->right = rc->bottom = 0;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** format)
{
    *format = reinterpret_cast<const CHARFORMATW*>(&m_charFormat);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** format)
{
    *format = reinterpret_cast<const PARAFORMAT*>(&m_paraFormat);
    return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int index)
{
    return GetSysColor(index);
}

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* style)
{
    *style = (m_flags & kTransparent) ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* length)
{
    *length = static_cast<DWORD>(m_limit);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* bars)
{
    *bars = m_hostStyle & (WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* ch)
{
    *ch = m_passwordChar;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* cp)
{
    *cp = m_acceleratorPos;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL extent)
{
    *extent = m_extent;
    return S_OK;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW*)
{
    return S_OK;
}

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT*)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD mask, DWORD* bits)
{
    DWORD value = 0;
    if (m_flags & kRich) value |= TXTBIT_RICHTEXT;
    if (m_hostStyle & ES_MULTILINE) value |= TXTBIT_MULTILINE;
    if (m_hostStyle & ES_READONLY) value |= TXTBIT_READONLY;
    if (m_hostStyle & ES_PASSWORD) value |= TXTBIT_USEPASSWORD;
    if ((m_hostStyle & ES_NOHIDESEL) == 0) value |= TXTBIT_HIDESELECTION;
    if (m_flags & kAutoWordSelect) value |= TXTBIT_AUTOWORDSEL;
    if (m_flags & kWordWrap) value |= TXTBIT_WORDWRAP;
    if (m_flags & kAllowBeep) value |= TXTBIT_ALLOWBEEP;
    if (m_flags & kSaveSelection) value |= TXTBIT_SAVESELECTION;
    *bits = value & mask;
    return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD code, void* data)
{
    if (code == EN_REQUESTRESIZE) {
        const REQRESIZE* request = static_cast<const REQRESIZE*>(data);
        if (request != nullptr) {
            RECT rc = m_clientRect;
            rc.bottom = rc.top + request->rc.bottom;
            rc.right = rc.left + request->rc.right;
            SetClientRect(rc);
        }
        return S_OK;
    }
    if (m_owner != nullptr) m_owner->OnTxNotify(code, data);
    return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext()
{
    return nullptr;
}

void CTxtWinHost::TxImmReleaseContext(HIMC) {}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* width)
{
    *width = m_selectionBarWidth;
    return S_OK;
}

void CTxtWinHost::SetClientRect(const RECT& rc)
{
    m_clientRect = rc;
    m_extent.cx = HimetricOf(rc.right - rc.left, ScreenLogPixels(LOGPIXELSX));
    m_extent.cy = HimetricOf(rc.bottom - rc.top, ScreenLogPixels(LOGPIXELSY));
    if (m_services != nullptr) m_services->OnTxPropertyBitsChange(TXTBIT_VIEWINSETCHANGE, TXTBIT_VIEWINSETCHANGE);
}

void CTxtWinHost::SetFont(HFONT font)
{
    if (font == nullptr) return;
    FillCharFormat(font);
    if (m_services != nullptr) m_services->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetColor(DWORD argb)
{
    CPaintManagerUI* manager = m_owner != nullptr ? m_owner->GetPaintManager() : nullptr;
    // Black is the layered window's transparent colour.
    if (manager != nullptr && manager->IsLayeredMode()) CRenderKit::AvoidZeroRgb(argb);
    m_charFormat.crTextColor = ColorRefOf(argb);
    if (m_services != nullptr) m_services->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetLimitText(int limit)
{
    m_limit = limit < 1 ? 32767 : limit;
    if (m_services == nullptr) return;
    m_services->OnTxPropertyBitsChange(TXTBIT_MAXLENGTHCHANGE, TXTBIT_MAXLENGTHCHANGE);
    // Some text services ignore the change bit; the message is understood by all.
    LRESULT ignored = 0;
    m_services->TxSendMessage(EM_EXLIMITTEXT, 0, m_limit, &ignored);
}

void CTxtWinHost::SetTransparent(bool on)
{
    SetFlag(kTransparent, on);
    if (m_services != nullptr) m_services->OnTxPropertyBitsChange(TXTBIT_BACKSTYLECHANGE, 0);
}

void CTxtWinHost::SetRich(bool on)
{
    SetFlag(kRich, on);
    if (m_services != nullptr) m_services->OnTxPropertyBitsChange(TXTBIT_RICHTEXT, on ? TXTBIT_RICHTEXT : 0);
}

void CTxtWinHost::ActivateInPlace(const RECT* rc)
{
    if (m_services == nullptr) return;
    if (FAILED(m_services->OnTxInPlaceActivate(rc))) m_flags &= ~kInPlaceActive;
}

bool CTxtWinHost::DoSetCursor(const RECT* rc, const POINT& pt)
{
    const RECT area = rc != nullptr ? *rc : m_clientRect;
    if (m_services == nullptr || !PtInRect(&area, pt)) return false;
    const RECT* client = IsInPlaceActive() ? nullptr : &area;
    m_services->OnTxSetCursor(DVASPECT_CONTENT, -1, nullptr, nullptr, TxGetDC(), nullptr, client, pt.x, pt.y);
    return true;
}

} // namespace SkinUI
