#pragma once

#include <cstdint>
#include <windows.h>

#include "uilib/control/OverlayLabel.h"

namespace SkinUI {

class CIPAddressWnd;

// A label showing an IPv4 address as dotted decimals that lays the system
// address editor over itself for editing. Starts with the local host's
// address.
class CIPAddressUI : public COverlayLabelUI {
public:
    enum UpdateMode { kUpdateNone = 0, kUpdateShow = 1, kUpdateClear = 2, kUpdateKeep = 3 };

    CIPAddressUI();

    const wchar_t* GetTypeName() const override;
    void* FindInterface(const wchar_t* name) override;

    // Stores the address; outside an edit the text follows it at once.
    void SetAddress(uint32_t address);
    uint32_t GetAddress() const { return m_address; }
    // Stores the address without touching the text.
    void StoreAddress(uint32_t address) { m_address = address; }
    int GetUpdateMode() const { return m_updateMode; }
    void SetUpdateMode(int mode) { m_updateMode = mode; }
    // Applies the update mode: show the address, empty the text, or nothing.
    void RefreshText();
    CIPAddressWnd* GetEditor() const;

    // The first address the host name resolves to, first octet highest; 0
    // when sockets or the lookup fail.
    static uint32_t GetLocalHostAddress();
    // "%d.%d.%d.%d", highest octet first.
    static CUIString FormatAddress(uint32_t address);

protected:
    COverlayWnd* CreateOverlay() override;

private:
    uint32_t m_address;
    int m_updateMode;
};

} // namespace SkinUI
