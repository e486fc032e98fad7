// Time of a slider drag with "sendmove" (each step notified and the slider
// repainted) and of the translucent edit background (a render of the window
// behind the box on every colour message).
#include <cstdio>

#include "ControlTestKit.h"
#include "tests/uilib/kit/BenchClock.h"
#include "DibCanvas.h"
#include "uilib/control/Edit.h"
#include "uilib/control/Slider.h"
#include "uilib/layout/VerticalLayout.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

void BenchSliderDrag()
{
    const int kMoves = 100;
    CPaintManagerUI manager;
    NotifyRecorder recorder(manager);
    CSliderUI slider;
    slider.AttachManager(&manager, nullptr, false);
    slider.SetPosition({0, 0, 410, 20});
    slider.SetThumbSize(10, 10);
    slider.SetMaxValue(400);
    slider.SetSendMove(true);
    slider.SetForegroundColor(0xFF1EA7E1);
    slider.SetBackgroundColor(0xFF2E343C);
    DibCanvas canvas(410, 20);
    RECT all = {0, 0, 410, 20};

    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    SendEvent(slider, UIEVENT_BUTTONDOWN, 5, 10);
    for (int i = 1; i <= kMoves; ++i) {
        SendEvent(slider, UIEVENT_MOUSEMOVE, 5 + i * 4, 10);
        slider.PaintArea(canvas.Dc(), all, nullptr);
    }
    SendEvent(slider, UIEVENT_BUTTONUP, 5 + kMoves * 4, 10);
    QueryPerformanceCounter(&end);
    const double ms = MillisecondsOf(start, end);
    std::printf("slider drag: %d moves, %d notified, %.2f ms (%.3f ms a step; goal <= 5)\n", kMoves,
                recorder.Count(L"movevaluechanged"), ms, ms / kMoves);
    slider.AttachManager(nullptr, nullptr, false);
}

int BenchTranslucentEdit()
{
    const int kMessages = 50;
    HostWindow host;
    host.CreateNativeWindow(nullptr, L"edit bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0, 1230, 650);
    if (host.GetNativeHandle() == nullptr) {
        std::printf("no window (is a display set?)\n");
        return 1;
    }
    host.Attach();
    CVerticalLayoutUI* root = new CVerticalLayoutUI();
    root->SetBackgroundColor(0xFF16191D);
    CEditUI* edit = new CEditUI();
    edit->SetFixedHeightValue(24);
    edit->SetNativeBkColor(0x80202020);
    root->AddChild(edit);
    for (int i = 0; i < 200; ++i) {
        CControlUI* row = new CControlUI();
        row->SetFixedHeightValue(3);
        row->SetBackgroundColor(i % 2 == 0 ? 0xFF2A3038 : 0xFF1F2329);
        root->AddChild(row);
    }
    host.pm.AttachRoot(root);
    SetFocus(host.GetNativeHandle());
    UpdateWindow(host.GetNativeHandle());
    Settle();
    edit->TakeFocus();
    Settle();
    HWND native = edit->GetNativeWindow();
    if (native == nullptr) {
        std::printf("the edit box did not open\n");
        return 1;
    }
    HDC dc = GetDC(native);
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kMessages; ++i) {
        SendMessageW(host.GetNativeHandle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(native));
    }
    QueryPerformanceCounter(&end);
    ReleaseDC(native, dc);
    const double ms = MillisecondsOf(start, end);
    std::printf("translucent edit background: %d messages, %.3f ms each (goal <= 20)\n", kMessages, ms / kMessages);
    host.pm.SetFocusControl(nullptr);
    Settle();
    host.Detach();
    DestroyWindow(host.GetNativeHandle());
    Pump();
    return 0;
}

} // namespace

int main()
{
    BenchSliderDrag();
    return BenchTranslucentEdit();
}
