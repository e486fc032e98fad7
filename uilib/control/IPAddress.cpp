// Sockets must come before the first windows.h.
#include <winsock2.h>

#include "uilib/control/IPAddress.h"

#include <cwchar>

#include "uilib/control/IPAddressWnd.h"

namespace SkinUI {

CIPAddressUI::CIPAddressUI() : COverlayLabelUI(true, false), m_address(GetLocalHostAddress()), m_updateMode(kUpdateShow)
{
    RefreshText();
    m_updateMode = kUpdateNone;
}

const wchar_t* CIPAddressUI::GetTypeName() const
{
    // The address control answers the date control's type name.
    return L"DateTimeUI";
}

void* CIPAddressUI::FindInterface(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"IPAddress") == 0) return this;
    return CLabelUI::FindInterface(name);
}

CUIString CIPAddressUI::FormatAddress(uint32_t address)
{
    CUIString text;
    text.Printf(L"%d.%d.%d.%d", static_cast<int>((address >> 24) & 0xFF), static_cast<int>((address >> 16) & 0xFF),
                static_cast<int>((address >> 8) & 0xFF), static_cast<int>(address & 0xFF));
    return text;
}

void CIPAddressUI::RefreshText()
{
    if (m_updateMode == kUpdateClear)
        SetTextContent(L"");
    else if (m_updateMode == kUpdateShow)
        SetTextContent(FormatAddress(m_address));
}

void CIPAddressUI::SetAddress(uint32_t address)
{
    m_address = address;
    // Outside an edit the text would otherwise keep showing the old address.
    if (!HasOverlay()) m_updateMode = kUpdateShow;
    RefreshText();
    if (!HasOverlay()) m_updateMode = kUpdateNone;
}

uint32_t CIPAddressUI::GetLocalHostAddress()
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 0;
    char name[255] = {};
    if (gethostname(name, sizeof(name) - 1) != 0) return 0;
    const hostent* host = gethostbyname(name);
    if (host == nullptr || host->h_addr_list == nullptr || host->h_addr_list[0] == nullptr || host->h_length < 4)
        return 0;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(host->h_addr_list[0]);
    return (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
           (static_cast<uint32_t>(bytes[2]) << 8) | bytes[3];
}

COverlayWnd* CIPAddressUI::CreateOverlay()
{
    return new CIPAddressWnd();
}

CIPAddressWnd* CIPAddressUI::GetEditor() const
{
    return static_cast<CIPAddressWnd*>(GetOverlay());
}

} // namespace SkinUI
