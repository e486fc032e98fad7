#pragma once

#include <windows.h>
#include <richedit.h>
#include <textserv.h>

namespace SkinUI {

class CRichEditUI;

// The text services' window: the windowless host of one rich edit. It hands
// the services the control's rectangle, formats and property bits and turns
// their requests (caret, timers, capture, scroll bars, repaints) into calls
// on the control and its paint manager. Lives by its reference count.
class CTxtWinHost : public ITextHost {
public:
    // Flag bits.
    static const DWORD kAutoWordSelect = 0x01;
    static const DWORD kWordWrap = 0x02;
    static const DWORD kAllowBeep = 0x04;
    static const DWORD kRich = 0x08;
    static const DWORD kSaveSelection = 0x10;
    static const DWORD kInPlaceActive = 0x20;
    static const DWORD kTransparent = 0x40;
    static const DWORD kTimerSet = 0x80;
    static const DWORD kCaptured = 0x100;
    static const DWORD kCaretShown = 0x200;
    static const DWORD kCaretStale = 0x400;

    CTxtWinHost();
    virtual ~CTxtWinHost();
    CTxtWinHost(const CTxtWinHost&) = delete;
    CTxtWinHost& operator=(const CTxtWinHost&) = delete;

    // Builds the formats from the control and creates the text services;
    // false when the services cannot be made or refuse the initial text.
    bool Init(CRichEditUI* owner, const CREATESTRUCTW* create);

    // IUnknown.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ITextHost.
    HDC TxGetDC() override;
    INT TxReleaseDC(HDC dc) override;
    WINBOOL TxShowScrollBar(INT bar, WINBOOL show) override;
    WINBOOL TxEnableScrollBar(INT flags, INT arrows) override;
    WINBOOL TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL redraw) override;
    WINBOOL TxSetScrollPos(INT bar, INT pos, WINBOOL redraw) override;
    void TxInvalidateRect(LPCRECT rc, WINBOOL mode) override;
    void TxViewChange(WINBOOL update) override;
    WINBOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
    WINBOOL TxShowCaret(WINBOOL show) override;
    WINBOOL TxSetCaretPos(INT x, INT y) override;
    WINBOOL TxSetTimer(UINT id, UINT ms) override;
    void TxKillTimer(UINT id) override;
    void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update, LPRECT updateRect,
                          UINT flags) override;
    void TxSetCapture(WINBOOL capture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR cursor, WINBOOL text) override;
    WINBOOL TxScreenToClient(LPPOINT pt) override;
    WINBOOL TxClientToScreen(LPPOINT pt) override;
    HRESULT TxActivate(LONG* oldState) override;
    HRESULT TxDeactivate(LONG newState) override;
    HRESULT TxGetClientRect(LPRECT rc) override;
    HRESULT TxGetViewInset(LPRECT rc) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
    COLORREF TxGetSysColor(int index) override;
    HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
    HRESULT TxGetMaxLength(DWORD* length) override;
    HRESULT TxGetScrollBars(DWORD* bars) override;
    HRESULT TxGetPasswordChar(TCHAR* ch) override;
    HRESULT TxGetAcceleratorPos(LONG* cp) override;
    HRESULT TxGetExtent(LPSIZEL extent) override;
    HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
    HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
    HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
    HRESULT TxNotify(DWORD code, void* data) override;
    HIMC TxImmGetContext() override;
    void TxImmReleaseContext(HIMC context) override;
    HRESULT TxGetSelectionBarWidth(LONG* width) override;

    void SetClientRect(const RECT& rc);
    void SetFont(HFONT font);
    void SetColor(DWORD argb);
    void SetLimitText(int limit);
    void SetTransparent(bool on);
    void SetRich(bool on);
    void ActivateInPlace(const RECT* rc);
    // The services set the cursor when the point lies in the rectangle.
    bool DoSetCursor(const RECT* rc, const POINT& pt);
    void GetControlRect(RECT* rc) const { *rc = m_clientRect; }
    bool IsCaptured() const { return (m_flags & kCaptured) != 0; }
    bool IsCaretShown() const { return (m_flags & kCaretShown) != 0; }
    bool IsInPlaceActive() const { return (m_flags & kInPlaceActive) != 0; }
    bool IsTransparent() const { return (m_flags & kTransparent) != 0; }
    void MarkCaretStale() { m_flags |= kCaretStale; }
    int CaretWidth() const { return m_caretWidth; }
    int CaretHeight() const { return m_caretHeight; }
    DWORD HostStyle() const { return m_hostStyle; }
    const CHARFORMAT2W& CharFormat() const { return m_charFormat; }
    ITextServices* Services() const { return m_services; }

    // Host objects alive in the process (tests compare before and after).
    static int LiveCount();

private:
    void SetFlag(DWORD bit, bool on);
    void FillCharFormat(HFONT font);
    HWND PaintWindow() const;

    CRichEditUI* m_owner;
    ULONG m_refs;
    ITextServices* m_services;
    DWORD m_hostStyle;
    DWORD m_flags;
    int m_caretWidth;
    int m_caretHeight;
    int m_drawnCaretWidth;
    int m_drawnCaretHeight;
    LONG m_selectionBarWidth;
    int m_limit;
    RECT m_clientRect;
    SIZEL m_extent;
    CHARFORMAT2W m_charFormat;
    PARAFORMAT2 m_paraFormat;
    LONG m_acceleratorPos;
    wchar_t m_passwordChar;
};

} // namespace SkinUI
