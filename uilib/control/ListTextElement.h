#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/control/ListLabelElement.h"
#include "uilib/core/UIPtrArray.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

// A list row with one text per header column; with the owner's "itemshowhtml"
// its texts may carry links, reported as "link" notifications.
class CListTextElementUI : public CListLabelElementUI {
public:
    static const int kMaxLinks = 8;

    CListTextElementUI();
    ~CListTextElementUI() override;


    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    void HandleEvent(TEventInfo& event) override;
    CUISize MeasureDesiredSize(CUISize available) override;
    void SetListOwner(CControlUI* owner) override;
    void PaintItemText(HDC dc, const RECT& rc) override;

    // The column's text with language keys resolved; empty when it has none.
    CUIString GetColumnText(int column) const;
    // Sets the raw text of a column (negative columns are refused).
    bool SetColumnText(int column, const wchar_t* text);
    int GetLinkCount() const { return m_linkCount; }

protected:
    // Room kept free left of a column's text (a check box, in derived rows).
    virtual int ColumnTextInset(int /*column*/) const { return 0; }
    // The link whose rectangle holds the point, or -1.
    int LinkAt(POINT pt) const;

private:
    // True when the event ended at a link.
    bool HandleLinkEvent(const TEventInfo& event);

    int m_linkCount;
    RECT m_linkRects[kMaxLinks];
    CUIString m_linkTexts[kMaxLinks];
    int m_hoverLink;
    IListUI* m_listOwner;
    CUIPtrArray m_columnTexts; // owned CUIString*, null for a column without text
};

} // namespace SkinUI
