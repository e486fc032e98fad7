#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/control/ListInterfaces.h"
#include "uilib/control/ListRowCore.h"
#include "uilib/core/UIControl.h"

namespace SkinUI {

// The bare list row: a control with the row interface. Only a base; the
// label and text rows paint it.
class CListElementUI : public CControlUI, public IListItemUI {
public:
    CListElementUI();
    ~CListElementUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    bool ActivateControl() override;
    void SetEnabledState(bool enabled) override;
    void HandleEvent(TEventInfo& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

    // IListItemUI.
    int GetListIndex() const override;
    void SetListIndex(int index) override;
    IListOwnerUI* GetListOwner() const override;
    void SetListOwner(CControlUI* owner) override;
    bool IsItemSelected() const override;
    bool SetItemSelected(bool select) override;
    bool SetItemSelectedAdditive(bool select) override;
    bool IsItemExpanded() const override;
    bool SetItemExpanded(bool expand) override;

    void PaintItemBackground(HDC dc, const RECT& rc);
    void RequestItemRepaint();
    bool IsHot() const { return m_row.IsHot(); }

protected:
    void VisibilityChanged(bool wasVisible, bool own) override;
    CListRowCore m_row;
};

} // namespace SkinUI
