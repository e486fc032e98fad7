// A small skin window for proving the end-to-end kit on its own: a label that
// shows the last plug event, a button that sends one command to the unit (its
// tooltip tall enough to stand over the boxes below it), an edit box, a
// slider and a check box. Linked with the probe and the simulated unit like
// BrisaDSP_sim.exe.
#include <windows.h>
#include <dbt.h>
#include <hidapi.h>
#include <ole2.h>

#include <cwchar>

#include "device/FrameCodec.h"
#include "tests/uilib/window/SkinSetup.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/WindowBase.h"

using namespace SkinUI;

namespace {

constexpr wchar_t kLayout[] =
    L"<Window size=\"420,260\" caption=\"0,0,0,32\">"
    L"<Font id=\"0\" name=\"Microsoft YaHei\" size=\"14\" default=\"true\"/>"
    L"<VerticalLayout bkcolor=\"#FF16191D\" inset=\"16,12,16,12\" childpadding=\"10\">"
    L"<Label name=\"plug_state\" height=\"24\" text=\"no plug event\" textcolor=\"#FFE6E9EE\"/>"
    L"<Button name=\"send_btn\" height=\"30\" text=\"Mute the unit\" textcolor=\"#FFE6E9EE\""
    L" tooltip=\"Sends the unit one command:<n>mute, as the program<n>frames it, through<n>the device library<n>to the simulated unit\""
    L" normalimage=\"file='img/btn_normal.png' corner='5,5,5,5'\" hotimage=\"file='img/btn_hot.png' corner='5,5,5,5'\"/>"
    L"<Edit name=\"name_edit\" height=\"28\" textcolor=\"#FFE6E9EE\" normalimage=\"file='img/edit_normal.png' corner='4,4,4,4'\"/>"
    L"<Slider name=\"level\" height=\"20\" min=\"0\" max=\"100\" value=\"0\" thumbsize=\"20,20\""
    L" bkimage=\"file='img/track.png' corner='4,4,4,4'\" thumbimage=\"img/slider_thumb.png\"/>"
    L"<CheckBox name=\"loud_check\" height=\"24\" text=\"Loud\" textcolor=\"#FFE6E9EE\" textpadding=\"24,0,0,0\""
    L" normalimage=\"file='img/check_off.png' dest='0,4,16,20'\" selectedimage=\"file='img/check_on.png' dest='0,4,16,20'\"/>"
    L"</VerticalLayout></Window>";

// Sends "mute the unit" (DSP 04 set [1]) the way the device library frames it.
void SendMute() {
    uint8_t report[dsp::kOutputReportSize];
    const uint8_t on = 1;
    if (!dsp::BuildOutputReport(dsp::CMD_DSP, 0x04, dsp::OP_SET, &on, 1, report)) return;
    hid_device* unit = hid_open(0x0483, 0x5750, nullptr);
    if (!unit) return;
    hid_write(unit, report, sizeof(report));
    hid_close(unit);
}

// Class "MainWnd", like the program's main window: the probe's plug
// broadcasts go to that class.
class CKitHostWnd : public WindowImplBase {
public:
    const wchar_t* GetWndClassName() const override { return L"MainWnd"; }
    CUIString GetSkinXmlName() const override { return kLayout; }

    void OnControlClick(TNotifyInfo& notify) override {
        if (notify.sender && notify.sender->GetControlName() == L"send_btn") SendMute();
        else WindowImplBase::OnControlClick(notify);
    }

    LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
        handled = false;
        if (message != WM_DEVICECHANGE) return 0;
        const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
        if (!header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return 0;
        const auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
        wchar_t text[300];
        _snwprintf(text, 299, L"%s %s", wParam == DBT_DEVICEARRIVAL ? L"arrived" : L"removed", device->dbcc_name);
        text[299] = L'\0';
        if (CControlUI* label = m_pm.FindControlByName(L"plug_state")) label->SetTextContent(text);
        handled = true;
        return TRUE;
    }

    LRESULT HandleDestroy(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
        PostQuitMessage(0);
        return WindowImplBase::HandleDestroy(message, wParam, lParam, handled);
    }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (FAILED(OleInitialize(nullptr)) || !OpenEmbeddedSkin()) return 1;
    CKitHostWnd window;
    if (!window.CreateNativeWindow(nullptr, L"Kit Host", WS_VISIBLE | WS_POPUP, 0, 0, 0, 420, 260)) return 1;
    window.CenterOverOwner();
    CPaintManagerUI::RunMessageLoop();
    OleUninitialize();
    return 0;
}
