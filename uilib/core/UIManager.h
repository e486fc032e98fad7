#pragma once

#include <cstdint>
#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>

#include "uilib/core/FontEntry.h"
#include "uilib/core/FontVariantCache.h"
#include "uilib/core/UIControl.h"
#include "uilib/core/UIDropTarget.h"
#include "uilib/core/UIPtrArray.h"
#include "uilib/core/UIRect.h"
#include "uilib/core/UISize.h"
#include "uilib/core/UIString.h"
#include "uilib/core/UIStringMap.h"

namespace SkinUI {

class CDpiScaler;
class CShadowUI;
class CZipReader;
struct TImageEntry;

// One notification from a control to the window.
struct TNotifyInfo {
    CUIString type;
    CUIString virtualWindow;
    CControlUI* sender = nullptr;
    DWORD timestamp = 0;
    POINT point = {0, 0};
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// Receiver of every notification of a window.
class INotifyUI {
public:
    virtual void ReceiveNotify(TNotifyInfo& notify) = 0;

protected:
    ~INotifyUI() = default;
};

// Sees window messages before the paint manager; sets handled to end them.
class IMessageFilterUI {
public:
    virtual LRESULT PreFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

// Asked first about every queued message of the window; 0 means translated.
class ITranslateAccelerator {
public:
    virtual LRESULT TranslateAcceleratorMessage(MSG* msg) = 0;

protected:
    ~ITranslateAccelerator() = default;
};

// Where skin files come from.
enum UIResourceKind : int32_t {
    UIRES_FILE = 1,
    UIRES_ZIP_FILE = 2,
    UIRES_WIN32 = 3,
    UIRES_ZIP_MEMORY = 4,
};

// A parsed image attribute text.
struct TImageDrawSpec {
    TImageDrawSpec() { Reset(); }

    void Reset();
    // Parses the attribute text, then the modifier text; with a manager the
    // rectangles are DPI-scaled and the image name gets its DPI variant.
    void Parse(const wchar_t* attributeText, const wchar_t* modifierText, CPaintManagerUI* manager);
    // The name without its "@<percent>" DPI markers; false when it has none.
    static bool StripDpiVariant(const wchar_t* name, CUIString& plain);

    CUIString attributeText;
    CUIString modifierText;
    CUIString imageName;
    CUIString resourceType;
    RECT dest;
    RECT source;
    RECT corners;
    DWORD mask;
    BYTE fade;
    bool hole;
    bool xTiled;
    bool yTiled;
    bool hsl;
    SIZE iconSize;
    CUIString iconAlign;
};

// One window timer of a control.
struct TTimerRecord {
    CControlUI* control = nullptr;
    UINT localId = 0;
    HWND window = nullptr;
    UINT windowTimerId = 0;
    bool killed = false;
};

// The resources of one level (process-wide or one window).
struct TResourceSet {
    TResourceSet();

    DWORD disabledTextColor;
    DWORD defaultTextColor;
    DWORD linkTextColor;
    DWORD linkHoverTextColor;
    DWORD selectedBackColor;
    TFontEntry defaultFont;
    CUIStringMap fonts;              // decimal id -> owned TFontEntry
    CUIStringMap images;             // name -> owned TImageEntry
    CUIStringMap defaultAttributes;  // class name -> owned CUIString
    CUIStringMap styles;             // style name -> owned CUIString
    CUIStringMap drawSpecs;          // attribute + modifier -> owned TImageDrawSpec
};

typedef CControlUI* (*UIPluginCreateFunction)(const wchar_t* className);

// The per-window heart of the framework: routes messages to controls, paints
// the tree, keeps focus, timers, notifications and the skin resources.
class CPaintManagerUI : public CIDropTarget {
public:
    CPaintManagerUI();
    ~CPaintManagerUI() override;
    bool HandleDroppedData(const FORMATETC& format, STGMEDIUM& medium, DWORD* effect) override;

    // Process-wide skin settings.
    static void SetModuleInstance(HINSTANCE instance);
    static HINSTANCE ProgramInstance();
    static HINSTANCE ResourceInstance();
    static CUIString ModuleFolder();
    static void SetSkinFolder(const wchar_t* path);
    static CUIString SkinFolder();
    static void SetResourceKind(UIResourceKind kind);
    static UIResourceKind ResourceKind();
    static bool OpenSkinZipFromMemory(const void* bytes, DWORD size, const wchar_t* password);
    static bool SetSkinZipFile(const wchar_t* name, bool cached, const wchar_t* password);
    static CUIString SkinZipName();
    static bool IsSkinZipCached();
    static CZipReader* SkinZipHandle();
    static CUIString SkinZipPassword();
    // Opens the skin folder's archive with the skin password into zip.
    static bool OpenSkinZipFile(CZipReader& zip);
    static CUIPtrArray* Plugins();
    // The managers attached to a window, in attach order (test tools read them).
    static int LiveManagerCount();
    // Images kept for every window (menus and combo lists load into it):
    // loaded on first use and held until shutdown, one bitmap each.
    static int SharedImageCount();
    // Images this window loaded on first use, held until it goes; one bitmap each.
    int ImageCount() const;
    static CPaintManagerUI* LiveManagerAt(int index);
    static void FreeBlock(void* block);
    static bool HslState(short* hue, short* saturation, short* lightness);
    static void Shutdown(bool freeEverything);

    // Window.
    void AttachWindow(HWND window, const wchar_t* name = nullptr);
    HWND WindowHandle() const;
    HDC DeviceContext() const;
    CUIString WindowName() const;
    void SetInitialSize(int cx, int cy);
    CUISize InitialSize() const;
    void SetSizeBox(const RECT& rc);
    CUIRect SizeBox() const;
    void SetCaptionRect(const RECT& rc);
    CUIRect ScaledCaptionRect();
    void SetCornerRounding(int cx, int cy);
    CUISize CornerRounding() const;
    void SetMinTrackSize(int cx, int cy);
    CUISize ScaledMinTrackSize() const;
    void SetMaxTrackSize(int cx, int cy);
    CUISize MaxTrackSize() const;
    CUIPoint LastMousePoint() const;
    CUIRect ChildWindowRect() const;
    void SetShowUpdateRect(bool on);
    void SetNoActivate(bool on);
    bool IsActivationSuppressed() const;
    void SetHoverTime(DWORD ms);
    DWORD HoverTime() const;
    void SetUseGdiplusText(bool on);
    bool UsesGdiplusText() const;
    void SetGdiplusTextRenderingHint(int hint);
    int GdiplusTextRenderingHint() const;
    CShadowUI* ShadowWindow() const;
    CDpiScaler* DpiScaler();
    void ApplyDpi(int dpi);
    void SetUseSharedImages(bool on);
    void AddWindowAttribute(const wchar_t* name, const wchar_t* value);
    const wchar_t* FindWindowAttribute(const wchar_t* name) const;
    void RemoveAllWindowAttributes();

    // Layered windows and opacity.
    void SetLayeredMode(bool on);
    bool IsLayeredMode() const;
    void SetLayeredImage(const wchar_t* text);
    void SetLayeredOpacity(BYTE opacity);
    void SetOpacity(BYTE opacity);

    // Fonts.
    HFONT AddFont(int id, const wchar_t* face, int size, bool bold, bool underline, bool italic, bool shared);
    bool AddFontFile(const wchar_t* fileName);
    void SetDefaultFont(const wchar_t* face, int size, bool bold, bool underline, bool italic, bool shared);
    TFontEntry* DefaultFontEntry();
    HFONT FontHandle(int id);
    TFontEntry* FontEntry(int id);
    TFontEntry* FontEntryOfHandle(HFONT font);
    HFONT FindFont(const wchar_t* face, int size, bool bold, bool underline, bool italic);
    void RemoveAllFonts(bool shared);
    void RebuildFonts();
    // Fonts made on the fly by the text renderer (bold, italic, underline
    // variants, faces named inline); they live until the next rebuild.
    CFontVariantCache& FontVariants() { return m_fontVariants; }

    // Images.
    TImageEntry* FindImage(const wchar_t* name);
    TImageEntry* FindOrLoadImage(const wchar_t* name, const wchar_t* resourceType = nullptr, DWORD mask = 0,
                                 bool hsl = false, HINSTANCE module = nullptr);
    TImageEntry* AddImage(const wchar_t* name, const wchar_t* resourceType, DWORD mask, bool hsl, bool shared,
                          HINSTANCE module = nullptr);
    bool RemoveImage(const wchar_t* name, bool shared);
    void RemoveAllImages(bool shared);

    // Image draw specs.
    TImageDrawSpec* CachedImageDrawSpec(const wchar_t* attributeText, const wchar_t* modifierText);
    void RemoveAllDrawSpecs();

    // Default attribute lists and styles.
    void SetDefaultAttributeList(const wchar_t* className, const wchar_t* text, bool shared);
    const wchar_t* FindDefaultAttributes(const wchar_t* className) const;
    void RemoveAllDefaultAttributeLists(bool shared);
    void AddStyle(const wchar_t* name, const wchar_t* text, bool shared);
    const wchar_t* FindStyle(const wchar_t* name) const;
    void RemoveAllStyles(bool shared);

    // Default colours.
    DWORD DefaultDisabledTextColor() const;
    DWORD DefaultTextColor() const;
    DWORD DefaultLinkTextColor() const;
    DWORD DefaultLinkHoverTextColor() const;
    DWORD DefaultSelectedBackColor() const;
    void SetDefaultDisabledTextColor(DWORD argb, bool shared);
    void SetDefaultTextColor(DWORD argb, bool shared);
    void SetDefaultLinkTextColor(DWORD argb, bool shared);
    void SetDefaultLinkHoverTextColor(DWORD argb, bool shared);
    void SetDefaultSelectedBackColor(DWORD argb, bool shared);

    // Receiver lists.
    bool RegisterNotifyReceiver(INotifyUI* receiver);
    bool UnregisterNotifyReceiver(INotifyUI* receiver);
    bool RegisterPreMessageFilter(IMessageFilterUI* filter);
    bool UnregisterPreMessageFilter(IMessageFilterUI* filter);
    bool RegisterMessageFilter(IMessageFilterUI* filter);
    bool UnregisterMessageFilter(IMessageFilterUI* filter);
    bool RegisterTranslateAccelerator(ITranslateAccelerator* translator);
    bool UnregisterTranslateAccelerator(ITranslateAccelerator* translator);
    bool RegisterPostPaintControl(CControlUI* control);
    bool UnregisterPostPaintControl(CControlUI* control);
    bool UnregisterNativeWindow(HWND child);

    // Notifications.
    void SendNotification(CControlUI* sender, const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0,
                          bool async = false);
    void SendNotificationRecord(TNotifyInfo& notify, bool async = false);

    // Timers.
    bool StartTimer(CControlUI* control, UINT id, UINT ms);
    bool StopTimer(CControlUI* control, UINT id);
    // Every window timer is started through this; test builds put a recorder
    // in front of SetTimer to see the interval it is given.
    using WindowTimerStart = UINT_PTR(WINAPI*)(HWND window, UINT_PTR id, UINT ms, TIMERPROC proc);
    static void SetWindowTimerStart(WindowTimerStart start);
    void StopControlTimers(CControlUI* control);
    void RemoveAllTimers();

    // Focus and capture.
    void SetFocusControl(CControlUI* control);
    CControlUI* FocusControl() const;
    // Gives the control the focus at the next paint, once laid out (an edit
    // box then opens where it is drawn); the focus held now is dropped at once.
    void FocusAfterLayout(CControlUI* control);
    // The focused control lets go of the keys without being left: it paints
    // unfocused and takes no key, Tab steps on from it, and the "killfocus"
    // it owes waits for the control that takes the focus next (none when it
    // takes it back itself), so what was typed into it is not taken now.
    void ReleaseFocus();
    // The focused control takes the keys again, as when the window gets the
    // focus back: a box reopens its edit window closed meanwhile.
    void RenewFocus();
    bool FocusNextTabStop(bool forward = true);
    bool IsMouseCaptured() const;
    // A control hands its press to a window of its own (an edit box's): the
    // manager lets go of the mouse and forgets the press, so that moves reach
    // the controls under the pointer again.
    void HandPressAway();
    // A control that runs its own presses (the rich edit's text services)
    // takes and lets go of the mouse here, and holds a left press meanwhile.
    void HoldMouseFor(CControlUI* control, bool hold);
    // The control was disabled or hidden: a press held by it, or by a
    // control inside it, can take no release of its own and is abandoned.
    void EndPressWithin(CControlUI* control);
    // The control leaves its container, which may or may not free it: a
    // press held inside is abandoned, its timers stop, and the focus, the
    // hover (with its tip) and the key being held leave it.
    void LetGoOfSubtree(CControlUI* control);

    // Option groups.
    bool JoinOptionGroup(const wchar_t* group, CControlUI* control);
    void LeaveOptionGroup(const wchar_t* group, CControlUI* control);
    CUIPtrArray* OptionGroupMembers(const wchar_t* group);
    void RemoveAllOptionGroups();

    // Tree and searches.
    bool AttachRoot(CControlUI* control);
    CControlUI* Root() const;
    bool InitializeTree(CControlUI* control, CControlUI* parent);
    void ForgetControl(CControlUI* control);
    // What ForgetControl drops for the root, except the root itself: a closed
    // window's tree stays with the manager, whose destructor frees it.
    void ForgetRootReferences();
    void QueueForDeletion(CControlUI* control);
    CControlUI* FindControlByName(const wchar_t* name);
    CControlUI* FindControlAtPoint(POINT pt);
    CControlUI* FindSubControlByName(CControlUI* parent, const wchar_t* name);
    CUIPtrArray* FindSubControlsByClass(CControlUI* parent, const wchar_t* className);
    CUIPtrArray* FoundControls();
    void SetUsesVirtualWindows(bool on);
    bool UsesVirtualWindows() const;

    // Painting.
    void InvalidateArea(RECT& rc);
    void InvalidateWholeWindow();
    void MarkLayoutDirty();
    void SetPaintingInProgress(bool on);
    bool IsPaintingInProgress() const;
    // The client-sized 32-bit bottom-up bitmap painted into, or null.
    HBITMAP OffscreenBitmap() const { return m_offscreenBitmap; }

    // Messages.
    bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool PreFilterQueuedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool TranslateWithAccelerators(MSG* msg);
    static bool TranslateQueuedMessage(MSG* msg);
    static void RunMessageLoop();

protected:
    // The manager lives inside its window object; COM never deletes it.
    void OnFinalRelease() override {}

private:
    // Drops the window's own fonts, images, attribute lists, styles, window
    // attributes, option groups and timers (shared ones stay).
    void RemoveAllWindowResources();

    // Message routing.
    void DeliverNotification(TNotifyInfo& notify);
    void ServiceQueuedWork();
    void ForgetSubtree(CControlUI* control);
    // How a press ends; which way out gives which is written at EndClick.
    enum class TPressEnd { Released, Abandoned, Forgotten };
    // Every way out of a press: the mouse is let go, the click control
    // forgotten, and the control hears the end once.
    void EndClick(TPressEnd how, WPARAM wParam = 0, LPARAM lParam = 0);
    // A left press held by the click control: its left release is its own.
    bool HoldsLeftPress() const;
    // The control holds the click of that button (MK_LBUTTON, MK_RBUTTON or
    // MK_MBUTTON) from now on, with the mouse.
    void TakeClick(CControlUI* control, WORD button);
    // Only the manager holds and lets go of the mouse, as part of a press.
    void CaptureMouse();
    void ReleaseMouseCapture();
    // This manager's control under the point, or null.
    CControlUI* OwnControlAt(POINT pt);
    // True when a filter took the message.
    bool RunMessageFilters(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnTimer(WPARAM wParam, LPARAM lParam);
    // Every pointer the manager keeps to the control, except the root's.
    void DropReferencesTo(CControlUI* control);
    // The hover control is gone from the tree: no hover, and no tip.
    void ForgetHoverControl();
    void PostQueuedWork();
    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    bool OnMouseHover(LPARAM lParam);
    void OnMouseLeave();
    void OnButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
    // True when the release is spent: its window gives it no context menu.
    bool OnButtonUp(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnSetCursor(WPARAM wParam, LPARAM lParam);
    void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    void OnClose();
    void OnContextMenu(WPARAM wParam, LPARAM lParam);
    bool StartControlDrag();
    void RaiseControlEvent(CControlUI* target, int type, POINT pt, WORD keyChar, WORD keyState, WPARAM wParam,
                           LPARAM lParam);
    bool IsTimerIdInUse(UINT windowTimerId) const;

    // Focus.
    // The control is to take the focus at the next paint; the one holding it
    // now loses it, told which control takes it.
    void HoldFocus(CControlUI* control);
    void DropFocus(CControlUI* taker);
    // At a paint: the held control takes the focus, else focus steps on.
    void LandPendingFocus();

    // Painting.
    void PaintWindow();
    void PrintClient(HDC dc, LPARAM flags);
    void LayOutTree(const RECT& client);
    bool EnsureOffscreenBitmap(const RECT& client);
    void ComposeLayered(const RECT& paint, const RECT& client);
    void DeletePaintBitmaps();

    // Message side.
    HWND m_window;
    HDC m_paintDC;
    HWND m_toolTipWindow;
    TOOLINFOW m_toolTip;
    DWORD m_hoverTime;
    bool m_noActivate;
    CControlUI* m_root;
    CControlUI* m_focusControl;
    CControlUI* m_heldFocus;  // takes the focus at the next paint
    CControlUI* m_releasedFocus;  // let go of the keys, not yet left
    CControlUI* m_hoverControl;
    CControlUI* m_clickControl;
    WORD m_clickButton;  // the button of the click control's press: its release is its own
    CControlUI* m_menuControl;  // the context menu's control, from a right release until the menu or the next press
    CControlUI* m_keyControl;
    POINT m_lastMousePoint;
    SIZE m_minTrackSize;
    SIZE m_maxTrackSize;
    UINT m_timerCounter;
    bool m_firstLayoutPending;
    bool m_layoutNeeded;
    bool m_focusPending;
    bool m_mouseTracking;
    bool m_mouseCaptured;
    bool m_painting;
    bool m_usesVirtualWindows;
    bool m_queuePosted;
    CUIPtrArray m_notifiers;           // INotifyUI*
    CUIPtrArray m_timers;              // owned TTimerRecord*
    CUIPtrArray m_translators;         // ITranslateAccelerator*
    CUIPtrArray m_preMessageFilters;   // IMessageFilterUI*
    CUIPtrArray m_messageFilters;      // IMessageFilterUI*
    CUIPtrArray m_postPaintControls;   // CControlUI*
    CUIPtrArray m_nativeWindows;       // HWND
    CUIPtrArray m_nativeWindowControls; // CControlUI*, parallel to m_nativeWindows
    CUIPtrArray m_delayedDeletion;     // owned CControlUI*
    CUIPtrArray m_notificationQueue;   // owned TNotifyInfo*
    CUIPtrArray m_foundControls;       // CControlUI*
    CUIStringMap m_nameIndex;          // name -> CControlUI*
    CUIStringMap m_optionGroups;       // group -> owned CUIPtrArray*
    bool m_dragPending;
    HBITMAP m_dragBitmap;

    // Resource side.
    TResourceSet m_resources;
    CUIString m_windowName;
    SIZE m_initialSize;
    RECT m_sizeBox;
    SIZE m_cornerRounding;
    RECT m_captionRect;
    RECT m_scaledCaptionRect;
    CUIStringMap m_windowAttributes;   // name -> owned CUIString
    bool m_useSharedResources;
    CShadowUI* m_shadow;               // owned
    bool m_useGdiplusText;
    int m_gdiplusTextHint;
    ULONG_PTR m_gdiplusToken;
    Gdiplus::GdiplusStartupInput m_gdiplusInput;
    CDpiScaler* m_dpiScaler;           // owned, made on first use
    CUIPtrArray m_addedFontResources;  // HANDLE of AddFontMemResourceEx
    // Cleared by RebuildFonts and the destructor.
    CFontVariantCache m_fontVariants;

    // Painting side.
    HDC m_offscreenDC;
    HDC m_backgroundDC;
    HBITMAP m_offscreenBitmap;
    BYTE* m_offscreenPixels;
    HBITMAP m_backgroundBitmap;
    BYTE* m_backgroundPixels;
    bool m_showUpdateRect;
    bool m_offscreenPaint;
    BYTE m_layeredOpacity;
    bool m_layered;
    bool m_layeredRedrawPending;
    RECT m_layeredUpdateRect;
    TImageDrawSpec m_layeredBackground;

    // Process-wide state.
    static HINSTANCE s_instance;
    static CUIString s_skinFolder;
    static UIResourceKind s_resourceKind;
    static CUIString s_skinZipName;
    static bool s_skinZipCached;
    static CZipReader* s_skinZip;
    static CUIString s_skinZipPassword;
    static bool s_hslEnabled;
    static short s_hue;
    static short s_saturation;
    static short s_lightness;
    static void* s_updateLayeredWindow;
    static HPEN s_debugPen;
    static CUIPtrArray s_plugins;      // UIPluginCreateFunction
    static TResourceSet s_shared;
    static CUIPtrArray s_liveManagers; // CPaintManagerUI*
};

} // namespace SkinUI
