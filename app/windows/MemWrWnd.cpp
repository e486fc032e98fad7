#include "app/windows/MemWrWnd.h"

#include <cwchar>
#include <optional>

#include "app/tuning/ReachedOperation.h"
#include "app/tuning/TypedNumber.h"
#include "app/windows/ScreenDpi.h"
#include "app/windows/SettingsFile.h"
#include "base/Log.h"
#include "device/DspDevice.h"
#include "device/DspRecords.h"

using namespace SkinUI;

namespace {

CMemWrWnd* g_openMemWnd = nullptr;

void ShowWord(CControlUI* edit, uint32_t word, const wchar_t* key)
{
    wchar_t text[16];
    _snwprintf(text, 15, L"0x%08x", word);
    text[15] = L'\0';
    if (edit != nullptr) edit->SetTextContent(text);
    WriteSettingInt(SettingsFilePath(), key, static_cast<int>(word));
}

// The box's word; text not wholly read is refused and the last word shown
// (kept under key) goes back into the box.
std::optional<uint32_t> WordOf(CControlUI* edit, const wchar_t* key)
{
    const std::optional<uint32_t> word = edit != nullptr ? ReadServiceWord(edit->GetTextContent()) : std::nullopt;
    if (!word) ShowWord(edit, static_cast<uint32_t>(ReadSettingInt(SettingsFilePath(), key, 0)), key);
    return word;
}

} // namespace

CMemWrWnd* OpenMemWrWindow()
{
    return g_openMemWnd;
}

void CMemWrWnd::OnFinalWindowMessage(HWND window)
{
    if (m_device.mMemDataWnd == window) m_device.mMemDataWnd = nullptr;
    if (g_openMemWnd == this) g_openMemWnd = nullptr;
    WindowImplBase::OnFinalWindowMessage(window);
    delete this;
}

void CMemWrWnd::OnUiBuilt()
{
    m_pm.ApplyDpi(GetScreenDpi());
    m_addrEdit = m_pm.FindControlByName(L"addr_edit");
    m_dataEdit = m_pm.FindControlByName(L"data_edit");
    const std::wstring path = SettingsFilePath();
    ShowAddress(static_cast<uint32_t>(ReadSettingInt(path, L"mem_addr", 0)));
    ShowData(static_cast<uint32_t>(ReadSettingInt(path, L"mem_data", 0)));
    m_device.mMemDataWnd = m_window;
    g_openMemWnd = this;
}

void CMemWrWnd::ShowAddress(uint32_t address)
{
    ShowWord(m_addrEdit, address, L"mem_addr");
}

void CMemWrWnd::ShowData(uint32_t data)
{
    ShowWord(m_dataEdit, data, L"mem_data");
}

void CMemWrWnd::OnControlClick(TNotifyInfo& notify)
{
    if (notify.sender == nullptr) return;
    const CUIString name = notify.sender->GetControlName();
    if (name.CompareIgnoreCase(L"read_btn") == 0) {
        const std::optional<uint32_t> address = WordOf(m_addrEdit, L"mem_addr");
        if (!address) return;
        ShowAddress(*address);
        LogPrintW(L"read_btn read dsp mem, addr(0x%08x)\n", *address);
        // Queued: the answer arrives as WM_READ_MEMDATA_VALUE.
        m_device.Get_MemData(*address, false);
    } else if (name.CompareIgnoreCase(L"write_btn") == 0) {
        const std::optional<uint32_t> address = WordOf(m_addrEdit, L"mem_addr");
        const std::optional<uint32_t> data = WordOf(m_dataEdit, L"mem_data");
        if (!address || !data) return;
        ShowAddress(*address);
        ShowData(*data);
        LogPrintW(L"write_btn write dsp mem, addr(0x%08x), data(0x%08x)\n", *address, *data);
        m_device.Set_MemData(*address, *data, false);
    } else if (name.CompareIgnoreCase(L"closebtn") == 0) {
        PostClose(0);
    }
}

void CMemWrWnd::ReceiveNotify(TNotifyInfo& notify)
{
    LogPrintW(L"Notify %s\n", notify.type.CStr());
    WindowImplBase::ReceiveNotify(notify);
}

LRESULT CMemWrWnd::HandleOtherMessage(UINT message, WPARAM /*wParam*/, LPARAM lParam, bool& handled)
{
    handled = false;
    if (message != WM_READ_MEMDATA_VALUE) return 0;
    auto* record = reinterpret_cast<dsp::DspMemDataRecord*>(lParam);
    if (record == nullptr) return 0;
    LogPrintW(L"mem data = addr(0x%08x), data(0x%08x)\n", record->address, record->data);
    ShowAddress(record->address);
    ShowData(record->data);
    dsp::FreeDspRecord(record);
    handled = true;
    return 0;
}

int ShowMemWrWnd(HWND parent, DspDevice& device)
{
    const ReachedOperation reached(__func__);
    return static_cast<int>((new CMemWrWnd(device))->RunModalPopup(parent, L"memwrwnd"));
}
