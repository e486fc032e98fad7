#pragma once

#include "uilib/control/Option.h"

namespace SkinUI {

// An option with a checked state of its own. With auto-check a press toggles
// it and sends "checkclick" instead of "click".
class CCheckBoxUI : public COptionUI {
public:
    CCheckBoxUI();
    ~CCheckBoxUI() override;

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    void HandleEvent(TEventInfo& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

    // "selectchanged" carries the new state (1 or 0) as wParam.
    void SetCheckedState(bool checked);
    bool IsChecked() const { return m_selected; }
    void SetAutoCheck(bool on) { m_autoCheck = on; }
    bool IsAutoCheck() const { return m_autoCheck; }

private:
    bool m_autoCheck;
};

} // namespace SkinUI
