#pragma once

#include <windows.h>
#include <ole2.h>

namespace SkinUI {

class CActiveXUI;

// The in-place frame handed to a hosted object: the owner's window, no tool
// space, no menus. Lives by its reference count.
class CActiveXFrameWnd : public IOleInPlaceFrame {
public:
    explicit CActiveXFrameWnd(CActiveXUI* owner);
    virtual ~CActiveXFrameWnd();
    CActiveXFrameWnd(const CActiveXFrameWnd&) = delete;
    CActiveXFrameWnd& operator=(const CActiveXFrameWnd&) = delete;

    static int LiveCount();

    STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetWindow)(HWND* out) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL enter) override;
    STDMETHOD(GetBorder)(LPRECT border) override;
    STDMETHOD(RequestBorderSpace)(LPCBORDERWIDTHS widths) override;
    STDMETHOD(SetBorderSpace)(LPCBORDERWIDTHS widths) override;
    STDMETHOD(SetActiveObject)(IOleInPlaceActiveObject* object, LPCOLESTR name) override;
    STDMETHOD(InsertMenus)(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
    STDMETHOD(SetMenu)(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
    STDMETHOD(RemoveMenus)(HMENU shared) override;
    STDMETHOD(SetStatusText)(LPCOLESTR text) override;
    STDMETHOD(EnableModeless)(BOOL enable) override;
    STDMETHOD(TranslateAccelerator)(LPMSG msg, WORD id) override;

private:
    ULONG m_refs;
    CActiveXUI* m_owner;
    IOleInPlaceActiveObject* m_activeObject;
};

} // namespace SkinUI
