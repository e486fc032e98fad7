// Time of typing into the rich edit (each character through the window's
// message filter to the text services, "textchanged" each time), of the text
// services drawing 100 lines, and of making and releasing a hosted control.
#include <cstdio>
#include <string>

#include "ControlTestKit.h"
#include "DibCanvas.h"
#include "TestControlLink.h"
#include "tests/uilib/kit/BenchClock.h"
#include "uilib/control/ActiveX.h"
#include "uilib/control/RichEdit.h"
#include "uilib/control/TxtWinHost.h"
#include "uilib/layout/VerticalLayout.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

// Lines of 60 characters, as typed.
WPARAM Typed(int i)
{
    return static_cast<WPARAM>(i % 60 == 59 ? L'\r' : L'a' + i % 26);
}

int BenchRichEdit(HostWindow& host)
{
    const int kCharacters = 1000;
    const int kLines = 100;
    CVerticalLayoutUI* root = new CVerticalLayoutUI();
    CRichEditUI* edit = new CRichEditUI();
    root->AddChild(edit);
    host.pm.AttachRoot(root);
    UpdateWindow(host.GetNativeHandle());
    Settle();
    if (edit->GetTxtWinHost() == nullptr) {
        std::printf("no text services\n");
        return 1;
    }
    edit->TakeFocus();
    NotifyRecorder recorder(host.pm);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kCharacters; ++i) SendMessageW(host.GetNativeHandle(), WM_CHAR, Typed(i), 1);
    const double typed = MillisecondsSince(start);
    std::printf("rich edit typing: %d characters, %d notified, %.1f ms (goal <= 1000)\n", kCharacters,
                recorder.Count(L"textchanged"), typed);
    // The same straight into the text services: what the host adds.
    edit->SetTextContent(L"");
    QueryPerformanceCounter(&start);
    LRESULT ignored = 0;
    for (int i = 0; i < kCharacters; ++i)
        edit->GetTxtWinHost()->Services()->TxSendMessage(WM_CHAR, Typed(i), 1, &ignored);
    std::printf("  of which the text services alone: %.1f ms\n", MillisecondsSince(start));

    std::wstring text;
    for (int i = 0; i < kLines; ++i) text += L"line " + std::to_wstring(i) + L" of the benchmark text\r";
    edit->SetTextContent(text.c_str());
    const RECT& rc = edit->GetPosition();
    DibCanvas canvas(rc.right, rc.bottom);
    const int kDraws = 20;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kDraws; ++i) edit->PaintArea(canvas.Dc(), rc, nullptr);
    std::printf("rich edit drawing %d lines: %.2f ms a paint (goal <= 20)\n", kLines, MillisecondsSince(start) / kDraws);
    return 0;
}

int BenchActiveX(HostWindow& host)
{
    const int kCycles = 100;
    TestControlLink link;
    if (!link.IsLoaded()) {
        std::printf("no test control\n");
        return 1;
    }
    CVerticalLayoutUI* root = new CVerticalLayoutUI();
    host.pm.AttachRoot(root);
    Settle();
    link.Setup(0, kTestWindowless);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kCycles; ++i) {
        CActiveXUI* control = new CActiveXUI();
        control->SetModuleName(TestControlLink::ModuleName());
        control->SetClass(L"{6A1F3E20-5B7C-4D11-9E2A-0C3B5D7F9A11}");
        root->AddChild(control);
        control->SetPosition({0, 0, 200, 100});
        root->RemoveChild(control);
        Pump();
    }
    std::printf("hosted control made, activated and released: %.3f ms a cycle, %ld left alive\n",
                MillisecondsSince(start) / kCycles, link.Live());
    return 0;
}

} // namespace

int main()
{
    OleInitialize(nullptr);
    HostWindow host;
    host.CreateNativeWindow(nullptr, L"hosted bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0, 800, 1800);
    if (host.GetNativeHandle() == nullptr) {
        std::printf("no window (is a display set?)\n");
        return 1;
    }
    host.Attach();
    int result = BenchRichEdit(host);
    if (result == 0) result = BenchActiveX(host);
    host.Detach();
    DestroyWindow(host.GetNativeHandle());
    Pump();
    OleUninitialize();
    return result;
}
