#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/control/Label.h"
#include "uilib/core/UIRect.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

// A word-wrapped label whose tagged text may carry up to eight clickable
// links; a click on one sends "link" with the link's index.
class CTextUI : public CLabelUI {
public:
    static constexpr int kMaxLinks = 8;

    CTextUI();
    ~CTextUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    void HandleEvent(TEventInfo& event) override;
    CUISize MeasureDesiredSize(CUISize available) override;
    void PaintTextLayer(HDC dc) override;

    // The text of the link, or null outside the links laid out.
    const CUIString* GetLinkText(int index) const;
    int GetLinkCount() const { return m_linkCount; }
    // The rectangle of the link as last laid out; empty outside the links.
    CUIRect GetLinkRect(int index) const;

private:
    // The link under the point, or -1.
    int LinkAt(POINT pt) const;

    int m_linkCount;
    RECT m_linkRects[kMaxLinks];
    CUIString m_linkTexts[kMaxLinks];
    int m_hoverLink;
};

} // namespace SkinUI
