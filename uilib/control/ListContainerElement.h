#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/control/ListInterfaces.h"
#include "uilib/control/ListRowCore.h"
#include "uilib/layout/HorizontalLayout.h"

namespace SkinUI {

// A list row holding any child controls; in a list with a visible header the
// children line up under the header's columns.
class CListContainerElementUI : public CHorizontalLayoutUI, public IListItemUI {
public:
    CListContainerElementUI();
    ~CListContainerElementUI() override;


    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    bool ActivateControl() override;
    void SetEnabledState(bool enabled) override;
    void SetPosition(const RECT& rc, bool invalidate = true) override;
    void HandleEvent(TEventInfo& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    bool PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl) override;

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
    void PaintItemText(HDC dc, const RECT& rc) override;

    virtual void PaintItemBackground(HDC dc, const RECT& rc);
    void RequestItemRepaint();
    bool IsHot() const { return m_row.IsHot(); }

protected:
    void VisibilityChanged(bool wasVisible, bool own) override;
    // Places child i under header column i while the owning list shows one.
    void AlignCellsToHeader();

    CListRowCore m_row;
};

} // namespace SkinUI
