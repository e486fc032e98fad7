#pragma once

#include <windows.h>

#include "uilib/layout/HorizontalLayout.h"

namespace SkinUI {

// The row of column headers of a list; with "scaleheader" each item takes
// its "scale" percent of the header's width.
class CListHeaderUI : public CHorizontalLayoutUI {
public:
    CListHeaderUI();


    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    CUISize MeasureDesiredSize(CUISize available) override;
    void SetPosition(const RECT& rc, bool invalidate = true) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

    bool IsScaleHeader() const { return m_scaleHeader; }
    void SetScaleHeader(bool on) { m_scaleHeader = on; }

private:
    // Gives every item its share of the available width as its fixed width.
    void ApplyScaleWidths(int availableWidth);

    bool m_scaleHeader;
};

} // namespace SkinUI
