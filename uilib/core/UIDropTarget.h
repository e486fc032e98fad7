#pragma once

#include <windows.h>
#include <ole2.h>
#include <shobjidl.h>

#include "uilib/core/UIValArray.h"

namespace SkinUI {

// OLE drop target of one window. A target embedded in another object (the
// paint manager) overrides OnFinalRelease so that COM never deletes it; the
// owner revokes the registration before the window goes.
class CIDropTarget : public IDropTarget {
public:
    CIDropTarget();
    CIDropTarget(const CIDropTarget&) = delete;
    CIDropTarget& operator=(const CIDropTarget&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDropTarget
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

    virtual ~CIDropTarget();
    // Takes the dropped medium; true when the caller is to release it.
    virtual bool HandleDroppedData(const FORMATETC& format, STGMEDIUM& medium, DWORD* effect) = 0;

    // Registers this target for the window; false when OLE refuses.
    bool RegisterWith(HWND window);
    // Undoes RegisterWith; safe to call when nothing is registered.
    void RevokeRegistration();
    bool IsRegistered() const { return m_registered; }
    HWND TargetWindow() const { return m_window; }

    void AddSupportedFormat(const FORMATETC& format);
    int SupportedFormatCount() const { return m_formats.Count(); }
    // Format chosen for the drag in progress, or null.
    const FORMATETC* ChosenFormat() const;

    // Effect for the key state among those offered; false when none applies.
    bool QueryDrop(DWORD keyState, DWORD* effect) const;

protected:
    // Called when the reference count reaches zero.
    virtual void OnFinalRelease() { delete this; }

private:
    void ForgetDrag();

    LONG m_refCount;
    bool m_allowDrop;
    IDropTargetHelper* m_helper;
    CUIValArray m_formats; // FORMATETC records
    int m_chosen;          // index into m_formats, -1 = none
    HWND m_window;
    bool m_registered;
    // Set while the destructor runs: releases by OLE then end nothing more.
    bool m_destroying;
};

} // namespace SkinUI
