#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/core/DialogBuilder.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/UIStringMap.h"

namespace SkinUI {

// One native window bound to this object: class registration (or a superclass
// of a system class), creation with the object as creation parameter, message
// routing to ProcessMessage, and a modal loop.
class CWindowWnd {
public:
    CWindowWnd();
    virtual ~CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    virtual const wchar_t* GetWndClassName() const = 0;
    virtual const wchar_t* GetSuperclassSource() const;
    virtual UINT GetWndClassStyle() const;
    virtual LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnFinalWindowMessage(HWND window);

    HWND CreateNativeWindow(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                            int y = CW_USEDEFAULT, int width = CW_USEDEFAULT, int height = CW_USEDEFAULT,
                            HMENU menu = nullptr);
    HWND CreateNativeWindowInRect(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, const RECT& rc,
                                  HMENU menu = nullptr);
    HWND GetNativeHandle() const { return m_window; }
    operator HWND() const { return m_window; }
    void ShowNative(bool show = true, bool takeFocus = true);
    // Shows a popup; its top-level owner keeps the active caption.
    void ShowPopupOwnerActive();
    // Runs until the window is gone; returns the code given to PostClose (0
    // when closed otherwise). A WM_QUIT met here is posted again.
    UINT RunModal();
    // At the top of a message loop nothing dispatched from it still runs:
    // the move loops begun at its depth have returned.
    static void EndReturnedMoveLoops();
    // Creates the window as a tool popup of parent, centres it over its
    // owner and runs it modally; 0 when it could not be created. A window
    // that deletes itself may be gone when this returns.
    UINT RunModalPopup(HWND parent, const wchar_t* name);
    // The window's own close: it is taken even where a close from outside
    // (Alt+F4, the taskbar, another program's WM_CLOSE) is refused.
    void PostClose(UINT code = 0);
    // Whether a close from outside is refused now: a window whose job must
    // not be cut short stays until it closes itself.
    virtual bool RefusesOutsideClose() const { return false; }
    // Whether a WM_CLOSE reaching the window now closes it.
    bool TakesClose() const { return m_closeAsked || !RefusesOutsideClose(); }
    // A close from outside, or the session's end, was just refused: the
    // window may bring forward what holds it.
    virtual void OnCloseRefused() {}
    void CenterOverOwner();
    void SetClientAreaSize(int cx, int cy);
    bool PostToWindow(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendToWindow(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void Unsubclass();

protected:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SuperclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool RegisterWindowClass();
    bool RegisterSuperclass();
    // After the window's last message: the object lets go of it; returns result.
    LRESULT ReleaseWindow(HWND window, LRESULT result);

    HWND m_window;
    WNDPROC m_previousProc;
    bool m_subclassed;
    bool m_closeAsked = false;
};

class CNotifyPump;

// Handlers of notification map entries: static thunks that cast the pump to
// their own class.
typedef LRESULT (*UINotifyParamHandler)(CNotifyPump* pump, WPARAM wParam, LPARAM lParam);
typedef void (*UINotifyHandler)(CNotifyPump* pump, TNotifyInfo& notify);

enum UINotifySignature : uint32_t {
    UINOTIFY_END = 0,
    UINOTIFY_PARAMS = 1,
    UINOTIFY_RECORD = 2,
};

struct TNotifyMapEntry {
    const wchar_t* type;
    const wchar_t* controlName; // empty: any control
    uint32_t signature;
    UINotifyParamHandler paramHandler;
    UINotifyHandler recordHandler;
};

struct TNotifyMap {
    const TNotifyMap* base;
    const TNotifyMapEntry* entries;
};

// Routes notifications to member handlers through static maps, optionally
// through named virtual windows.
class CNotifyPump {
public:
    CNotifyPump();
    virtual ~CNotifyPump() = default;
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;

    virtual const TNotifyMap* GetNotifyMap() const;

    // False when the name is taken.
    bool RegisterVirtualWindow(const wchar_t* name, CNotifyPump* pump);
    // Whether a handler ran.
    bool DispatchNotify(TNotifyInfo& notify);
    bool DispatchToMap(TNotifyInfo& notify);
    static const TNotifyMapEntry* FindMapEntry(const TNotifyMapEntry* entries, const TNotifyInfo& notify);

private:
    CUIStringMap m_virtualWindows;
};

// Base of every skin-built window: owns a paint manager, builds the control
// tree from the window's skin layout on WM_CREATE, drops the standard frame,
// answers hit tests from the caption and size-box settings, and handles the
// system buttons "closebtn", "minbtn", "maxbtn" and "restorebtn".
class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback,
                       public IQueryControlText {
public:
    WindowImplBase() = default;

    UINT GetWndClassStyle() const override;
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalWindowMessage(HWND window) override;
    ~WindowImplBase() override = default;

    virtual void EmptyHook() {}
    virtual void OnUiBuilt() {}
    virtual void OnControlClick(TNotifyInfo& notify);
    virtual bool IsCaptionControl(CControlUI* control);
    virtual CUIString GetSkinDirectory() const;
    virtual CUIString GetSkinXmlName() const = 0;
    virtual const wchar_t* GetPaintManagerName() const;
    virtual bool HandleDefaultKey(WPARAM key);
    virtual LRESULT HandleClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleDestroy(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleNcActivate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleNcCalcSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleNcPaint(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleGetMinMaxInfo(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleMouseWheel(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleMouseHover(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleChar(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleCreate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleKeyDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleKillFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleSetFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleLButtonUp(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleMouseMove(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LONG GetFrameStyle() const;

    // INotifyUI, IMessageFilterUI, IDialogBuilderCallback, IQueryControlText.
    void ReceiveNotify(TNotifyInfo& notify) override;
    LRESULT PreFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    CControlUI* CreateCustomControl(const wchar_t* className) override;
    const wchar_t* LookupControlText(const wchar_t* key, const wchar_t* type) override;

    const TNotifyMap* GetNotifyMap() const override;
    CPaintManagerUI& PaintManager() { return m_pm; }

    // Whether, after a window over this one has closed, none of its controls
    // takes a key until one is clicked or tabbed to: a key meant for the
    // closed window (a second Enter) must not press what the focus rested
    // on. The focused control lets go of the keys (ReleaseFocus), and Tab
    // steps on from it; a box showing typing keeps them.
    virtual bool KeepsKeysFromControlsAfterCover() const { return false; }
    // The same at the start: the first focus, once landed, is dropped.
    void DropFirstFocus();

protected:
    // After the focus was let go under a window that closed.
    virtual void OnFocusReleased() {}
    // Shows or hides the system buttons after the maximised state changed.
    void SyncMaximizeButtons(bool maximized);

    CPaintManagerUI m_pm;

private:
    // Runs from a posted message: after the first focus has landed, and
    // after the handler that opened the window over this one has returned.
    void TakeKeysFromControls(bool afterCover);
    // After a restore from minimised: what this window owns goes on top of
    // it, as owned windows stand, and a modal one among them takes the keys.
    void BringOwnedForward();
    bool m_minimised = false;
};

} // namespace SkinUI
