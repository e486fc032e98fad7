#pragma once

#include <windows.h>
#include <ole2.h>

#include "uilib/control/ActiveX.h"

namespace SkinUI {

// The Flash player's control hosted through the ActiveX host: it connects
// itself to the player's events, ignores every one, and gives keyboard
// accelerators to the player while the focus is in it. Skin tag "Flash".
class CFlashUI : public CActiveXUI, public IDispatch, public ITranslateAccelerator {
public:
    CFlashUI();
    ~CFlashUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void ReleaseControl() override;
    bool CreateControl() override;

    IUnknown* GetPlayer() const { return m_player; }
    DWORD GetEventCookie() const { return m_cookie; }

    // The player's event interface; the control's owner deletes it.
    STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetTypeInfoCount)(UINT* count) override;
    STDMETHOD(GetTypeInfo)(UINT index, LCID locale, ITypeInfo** out) override;
    STDMETHOD(GetIDsOfNames)(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHOD(Invoke)(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

    LRESULT TranslateAcceleratorMessage(MSG* msg) override;

private:
    // Only its IUnknown is used: no method of the player is called.
    IUnknown* m_player;
    LONG m_refs;
    DWORD m_cookie;
};

} // namespace SkinUI
