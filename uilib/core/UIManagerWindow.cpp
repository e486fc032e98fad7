// The paint manager's window: attaching it, the skin's window attributes,
// layered mode and opacity, and DPI changes.
#include "uilib/core/DpiScaler.h"
#include "uilib/core/SystemEntry.h"
#include "uilib/core/UIManager.h"

namespace SkinUI {

namespace {

typedef BOOL(WINAPI* SetLayeredWindowAttributesFn)(HWND, COLORREF, BYTE, DWORD);

// Private message posted after a DPI change has been applied.
const UINT kDpiChangedMessage = WM_USER + 2;

template <typename Fn>
Fn User32Entry(const char* name)
{
    return SystemEntry<Fn>(L"User32.dll", name);
}

// A window length drawn at oldPercent, at newPercent. A length the old scale
// made from a whole 100 % length is scaled from that one, so that changes
// back and forth keep a window at its layout's size.
int RescaledLength(int length, int oldPercent, int newPercent)
{
    const int base = (length * 100 + oldPercent - 1) / oldPercent;
    if (base * oldPercent / 100 == length) return base * newPercent / 100;
    return length * newPercent / oldPercent;
}

} // namespace

void CPaintManagerUI::RemoveAllWindowResources()
{
    RemoveAllFonts(false);
    RemoveAllImages(false);
    RemoveAllDefaultAttributeLists(false);
    RemoveAllStyles(false);
    RemoveAllWindowAttributes();
    RemoveAllOptionGroups();
    RemoveAllTimers();
}

void CPaintManagerUI::AttachWindow(HWND window, const wchar_t* name)
{
    m_nameIndex.Reset(CUIStringMap::kDefaultBuckets);
    RemoveAllWindowResources();
    m_windowName.Clear();
    if (name != nullptr) m_windowName = name;

    if (window != m_window) {
        if (m_paintDC != nullptr) ReleaseDC(m_window, m_paintDC);
        m_window = window;
        m_paintDC = window != nullptr ? GetDC(window) : nullptr;
        if (s_liveManagers.IndexOf(this) < 0) s_liveManagers.Append(this);
    }
    if (window == nullptr) return;
    if (IsRegistered() && TargetWindow() == window) return;
    RevokeRegistration();
    if (!RegisterWith(window)) return;
    if (SupportedFormatCount() > 0) return;
    const struct {
        CLIPFORMAT format;
        DWORD tymed;
    } accepted[] = {
        {CF_BITMAP, TYMED_GDI},
        {CF_DIB, TYMED_HGLOBAL},
        {CF_HDROP, TYMED_HGLOBAL},
        {CF_ENHMETAFILE, TYMED_ENHMF},
    };
    for (const auto& entry : accepted) {
        FORMATETC format = {entry.format, nullptr, DVASPECT_CONTENT, -1, entry.tymed};
        AddSupportedFormat(format);
    }
}

HWND CPaintManagerUI::WindowHandle() const { return m_window; }
HDC CPaintManagerUI::DeviceContext() const { return m_paintDC; }
CUIString CPaintManagerUI::WindowName() const { return m_windowName; }

void CPaintManagerUI::SetInitialSize(int cx, int cy)
{
    m_initialSize.cx = cx;
    m_initialSize.cy = cy;
    if (m_root == nullptr && m_window != nullptr)
        SetWindowPos(m_window, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

CUISize CPaintManagerUI::InitialSize() const { return CUISize(m_initialSize.cx, m_initialSize.cy); }
void CPaintManagerUI::SetSizeBox(const RECT& rc) { m_sizeBox = rc; }
CUIRect CPaintManagerUI::SizeBox() const { return CUIRect(m_sizeBox); }
void CPaintManagerUI::SetCaptionRect(const RECT& rc) { m_captionRect = rc; }

CUIRect CPaintManagerUI::ScaledCaptionRect()
{
    m_scaledCaptionRect = m_captionRect;
    m_scaledCaptionRect.bottom = m_captionRect.bottom * DpiScaler()->GetScalePercent() / 100;
    return CUIRect(m_scaledCaptionRect);
}

void CPaintManagerUI::SetCornerRounding(int cx, int cy)
{
    m_cornerRounding.cx = cx;
    m_cornerRounding.cy = cy;
}

CUISize CPaintManagerUI::CornerRounding() const { return CUISize(m_cornerRounding.cx, m_cornerRounding.cy); }

void CPaintManagerUI::SetMinTrackSize(int cx, int cy)
{
    m_minTrackSize.cx = cx;
    m_minTrackSize.cy = cy;
}

CUISize CPaintManagerUI::ScaledMinTrackSize() const
{
    int percent = m_dpiScaler != nullptr ? m_dpiScaler->GetScalePercent() : 100;
    return CUISize(m_minTrackSize.cx * percent / 100, m_minTrackSize.cy * percent / 100);
}

void CPaintManagerUI::SetMaxTrackSize(int cx, int cy)
{
    m_maxTrackSize.cx = cx;
    m_maxTrackSize.cy = cy;
}

CUISize CPaintManagerUI::MaxTrackSize() const { return CUISize(m_maxTrackSize.cx, m_maxTrackSize.cy); }
CUIPoint CPaintManagerUI::LastMousePoint() const { return CUIPoint(m_lastMousePoint.x, m_lastMousePoint.y); }

CUIRect CPaintManagerUI::ChildWindowRect() const
{
    RECT rc = {0, 0, 0, 0};
    if (m_window != nullptr) GetClientRect(m_window, &rc);
    return CUIRect(rc);
}

void CPaintManagerUI::SetShowUpdateRect(bool on) { m_showUpdateRect = on; }
void CPaintManagerUI::SetNoActivate(bool on) { m_noActivate = on; }
bool CPaintManagerUI::IsActivationSuppressed() const { return m_noActivate; }
void CPaintManagerUI::SetHoverTime(DWORD ms) { m_hoverTime = ms; }
DWORD CPaintManagerUI::HoverTime() const { return m_hoverTime; }
void CPaintManagerUI::SetUseGdiplusText(bool on) { m_useGdiplusText = on; }
bool CPaintManagerUI::UsesGdiplusText() const { return m_useGdiplusText; }
void CPaintManagerUI::SetGdiplusTextRenderingHint(int hint) { m_gdiplusTextHint = hint; }
int CPaintManagerUI::GdiplusTextRenderingHint() const { return m_gdiplusTextHint; }
CShadowUI* CPaintManagerUI::ShadowWindow() const { return m_shadow; }
void CPaintManagerUI::SetUseSharedImages(bool on) { m_useSharedResources = on; }

CDpiScaler* CPaintManagerUI::DpiScaler()
{
    if (m_dpiScaler == nullptr) m_dpiScaler = new CDpiScaler();
    return m_dpiScaler;
}

void CPaintManagerUI::ApplyDpi(int dpi)
{
    CDpiScaler& scaler = *DpiScaler();
    int oldPercent = scaler.GetScalePercent();
    scaler.SetScaleFromDpi(dpi);
    int newPercent = scaler.GetScalePercent();
    RebuildFonts();
    if (m_window == nullptr) return;
    if (!IsZoomed(m_window) && oldPercent > 0) {
        RECT rc;
        GetWindowRect(m_window, &rc);
        int width = RescaledLength(rc.right - rc.left, oldPercent, newPercent);
        int height = RescaledLength(rc.bottom - rc.top, oldPercent, newPercent);
        SetWindowPos(m_window, nullptr, rc.left, rc.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_root != nullptr) m_root->RequestRelayout();
    PostMessageW(m_window, kDpiChangedMessage, 0, 0);
}

void CPaintManagerUI::SetLayeredMode(bool on)
{
    if (m_window == nullptr || on == m_layered) return;
    if (GetWindowLongW(m_window, GWL_STYLE) & WS_CHILD) return;
    if (s_updateLayeredWindow == nullptr)
        s_updateLayeredWindow = User32Entry<void*>("UpdateLayeredWindow");
    if (s_updateLayeredWindow == nullptr) return;
    m_layered = on;
    if (!on) {
        // A layered window that is no longer updated as one would stay invisible.
        LONG exStyle = GetWindowLongW(m_window, GWL_EXSTYLE);
        SetWindowLongW(m_window, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    }
    if (m_root != nullptr) m_root->RequestRelayout();
    InvalidateWholeWindow();
}

bool CPaintManagerUI::IsLayeredMode() const { return m_layered; }

void CPaintManagerUI::SetLayeredImage(const wchar_t* text)
{
    m_layeredBackground.Reset();
    m_layeredBackground.Parse(text, nullptr, this);
    m_layeredRedrawPending = true;
    InvalidateWholeWindow();
}

void CPaintManagerUI::SetLayeredOpacity(BYTE opacity)
{
    m_layeredOpacity = opacity;
    m_layeredRedrawPending = true;
    InvalidateWholeWindow();
}

void CPaintManagerUI::SetOpacity(BYTE opacity)
{
    m_layeredOpacity = opacity;
    if (m_window == nullptr) return;
    auto setAttributes = User32Entry<SetLayeredWindowAttributesFn>("SetLayeredWindowAttributes");
    if (setAttributes == nullptr) return;
    LONG exStyle = GetWindowLongW(m_window, GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) == 0) SetWindowLongW(m_window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    setAttributes(m_window, 0, opacity, LWA_ALPHA);
}

} // namespace SkinUI
