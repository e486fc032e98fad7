// Service window reading and writing one 32-bit word of the DSP's memory;
// the main window's debug button opens it.
#pragma once

#include <cstdint>

#include "uilib/core/WindowBase.h"

class DspDevice;

class CMemWrWnd : public SkinUI::WindowImplBase {
public:
    explicit CMemWrWnd(DspDevice& device) : m_device(device) {}

    const wchar_t* GetWndClassName() const override { return L"MemWrWnd"; }
    SkinUI::CUIString GetSkinXmlName() const override { return L"XML_MEM_WR"; }
    void OnFinalWindowMessage(HWND window) override;
    void OnUiBuilt() override;
    void OnControlClick(SkinUI::TNotifyInfo& notify) override;
    void ReceiveNotify(SkinUI::TNotifyInfo& notify) override;
    LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    // Shows the word as "0x%08x" and remembers it in the settings file.
    void ShowAddress(uint32_t address);
    void ShowData(uint32_t data);

    DspDevice& m_device;
    SkinUI::CControlUI* m_addrEdit = nullptr;
    SkinUI::CControlUI* m_dataEdit = nullptr;
};

// The open memory window, or null; the disconnect logic closes it.
CMemWrWnd* OpenMemWrWindow();

// Runs the window modally over parent; returns when it is closed.
int ShowMemWrWnd(HWND parent, DspDevice& device);
