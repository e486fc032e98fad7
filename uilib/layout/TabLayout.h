#pragma once

#include <windows.h>

#include "uilib/control/TabLayoutInterface.h"
#include "uilib/layout/Container.h"

namespace SkinUI {

// Shows one of its children, the selected page, and hides the others. Buttons
// and options bound to it by name select pages through ITabLayoutUI.
class CTabLayoutUI : public CContainerUI, public ITabLayoutUI {
public:
    CTabLayoutUI();

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void SetPosition(const RECT& rc, bool invalidate = true) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

    // Adding goes through InsertChildAt, so one rule serves both.
    bool InsertChildAt(CControlUI* control, int index) override;
    bool RemoveChild(CControlUI* control) override;
    void RemoveAllChildren() override;

    virtual bool SelectPage(CControlUI* page);
    // Sends "tabselect" (new index, old index) when the page changes.
    bool SelectPageAt(int index) override;
    int GetSelectedIndex() const { return m_selected; }

protected:
    // Shows the page at the index, gives it the focus and hides the others;
    // answers the page.
    CControlUI* ShowOnlyPage(int index);
    // Moves the focus on and sends "tabselect" (new index, old index).
    void AnnounceSelection(int index, int old);

    int m_selected;
};

} // namespace SkinUI
