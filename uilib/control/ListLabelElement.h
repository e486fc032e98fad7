#pragma once

#include <windows.h>

#include "uilib/control/ListElement.h"

namespace SkinUI {

// A list row that paints one text in the owner's row style.
class CListLabelElementUI : public CListElementUI {
public:
    CListLabelElementUI();


    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void HandleEvent(TEventInfo& event) override;
    CUISize MeasureDesiredSize(CUISize available) override;
    bool PaintSelf(HDC dc, const RECT& paintArea, CControlUI* stopControl) override;
    void PaintItemText(HDC dc, const RECT& rc) override;

protected:
    // Height of the style's font plus the row's margins, 0 without a manager.
    int DefaultRowHeight(const TListItemStyle& style) const;
};

} // namespace SkinUI
