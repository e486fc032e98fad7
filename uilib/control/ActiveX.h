#pragma once

#include <windows.h>
#include <ole2.h>

#include "uilib/core/UIControl.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

class CActiveXCtrl;

// Hosts an OLE control in the window: made from a class id or ProgID (or by a
// named module's class factory), activated in place windowless (drawing into
// the window and taking its input as a message filter) or windowed (in a
// child window of its site), kept in step with the control's rectangle.
// Skin tag "ActiveX": "clsid", "modulename", "delaycreate".
class CActiveXUI : public CControlUI, public IMessageFilterUI {
public:
    CActiveXUI();
    ~CActiveXUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    // The message filter moves with the control.
    void AttachManager(CPaintManagerUI* manager, CControlUI* parent, bool initNow = true) override;
    void SetPosition(const RECT& rc, bool invalidate = true) override;
    void OffsetBy(int dx, int dy, bool invalidate = true) override;
    bool PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl) override;
    // Ends a capture the object holds through its site.
    void EndPress() override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

    LRESULT PreFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

    virtual bool IsDelayCreate() const { return m_delayCreate; }
    virtual void SetDelayCreate(bool on);
    virtual bool IsMFC() const { return m_mfc; }
    virtual void SetMFC(bool on) { m_mfc = on; }
    virtual void ReleaseControl();
    virtual bool CreateControl();

    bool SetClass(const wchar_t* text);
    bool SetClassId(const CLSID& id);
    const CLSID& GetClassId() const { return m_clsid; }
    void SetModuleName(const wchar_t* name) { m_moduleName = name; }
    const CUIString& GetModuleName() const { return m_moduleName; }
    HRESULT QueryControl(REFIID iid, void** out);
    bool IsCreated() const { return m_created; }

    // For the site.
    IOleObject* GetHostedObject() const { return m_object; }
    HWND GetHostWindow() const { return m_hostWindow; }
    void SetHostWindow(HWND window) { m_hostWindow = window; }
    CActiveXCtrl* GetSite() const { return m_site; }

protected:
    void VisibilityChanged(bool wasVisible, bool own) override;
    // Lets a derived host clear the creation mark in its own release.
    void ClearCreated() { m_created = false; }

private:
    bool CreateObject(IOleControl** control);
    // Extent and in-place rectangles follow the control's rectangle.
    void UpdateObjectRects();
    void ShowHostWindow();

    CLSID m_clsid;
    CUIString m_moduleName;
    bool m_created;
    bool m_delayCreate;
    bool m_mfc;
    IOleObject* m_object;
    CActiveXCtrl* m_site;
    HWND m_hostWindow;
};

} // namespace SkinUI
