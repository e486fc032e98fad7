#pragma once

#include <cstdint>
#include <windows.h>

#include "app/controls/ChartTextStyle.h"
#include "uilib/core/UIControl.h"

// What both EQ charts share: the interface name "Curve", the cursor flag
// while enabled, the skin's text attributes, the auto-width flag and the
// focus flag.
class ChartControl : public SkinUI::CControlUI {
public:
    explicit ChartControl(UINT defaultTextStyle);

    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    void SetTextContent(const wchar_t* text) override;
    // Focus gained and lost set and clear the focused flag only.
    void HandleEvent(SkinUI::TEventInfo& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    virtual bool IsAutoWidth() const;
    virtual void SetAutoWidth(bool on);

protected:
    ChartTextStyle m_text;
    bool m_autoWidth;
};
