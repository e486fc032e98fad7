#pragma once

#include <windows.h>

#include "uilib/control/Edit.h"
#include "uilib/core/UIString.h"

namespace SkinUI {

// An IPv4 address drawn and edited by the framework itself: four numbers in
// four equal columns, one of them active, changed by typed digits, the arrow
// keys and the wheel. Octets never leave 0..255.
class CIPAddressExUI : public CEditUI {
public:
    static const int kMaxDigits = 3;

    CIPAddressExUI();

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;
    uint32_t GetBehaviorFlags() const override;
    void HandleEvent(TEventInfo& event) override;
    void PaintTextLayer(HDC dc) override;

    // Octet 1..4 (0 outside).
    int GetOctet(int field) const;
    // 0 when no field is active, else 1..4.
    int GetActiveField() const { return m_activeField; }
    const CUIString& GetTypedDigits() const { return m_typed; }
    // The text becomes the four octets as dotted decimals.
    void SyncText();
    // The typed digits become the active octet (at most 255).
    void CommitTyping();
    void TypeDigit(wchar_t digit);

private:
    void StepActive(int delta);
    // Leaves the active field for another, keeping what was typed.
    void MoveToField(int field);
    void OnKeyDown(WPARAM key);

    int m_octets[4];
    int m_activeField;
    CUIString m_typed;
    // A full field just moved on by itself: the dot typed next only ends it.
    bool m_advanced;
};

} // namespace SkinUI
