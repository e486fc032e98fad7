// Checking a tree of 1,000 nodes (every check box, with the propagation each
// change triggers), and the processor time of an idle window that shows a
// loading bar and a ring.
#include <cstdio>
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "ControlTestKit.h"
#include "tests/uilib/kit/BenchClock.h"
#include "uilib/control/CheckBox.h"
#include "uilib/control/LoadingBar.h"
#include "uilib/control/Ring.h"
#include "uilib/control/TreeNode.h"
#include "uilib/control/TreeView.h"
#include "uilib/layout/HorizontalLayout.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

// 10 top nodes, each with 9 children of 10 leaves: 1,000 nodes.
CTreeViewUI* NewTree(CPaintManagerUI& manager)
{
    CTreeViewUI* view = new CTreeViewUI();
    view->AttachManager(&manager, nullptr, false);
    for (int a = 0; a < 10; ++a) {
        CTreeNodeUI* top = new CTreeNodeUI();
        view->AddNode(top);
        for (int b = 0; b < 9; ++b) {
            CTreeNodeUI* middle = new CTreeNodeUI();
            top->AddChildNode(middle);
            for (int c = 0; c < 10; ++c) middle->AddChildNode(new CTreeNodeUI());
        }
    }
    return view;
}

void BenchTreeCheck()
{
    CPaintManagerUI manager;
    CTreeViewUI* view = NewTree(manager);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    view->CheckSubtree(true, nullptr);
    const double all = MillisecondsSince(start);
    view->CheckSubtree(false, nullptr);
    QueryPerformanceCounter(&start);
    view->GetNodeAt(0)->SetCheckBoxChecked(true);
    const double branch = MillisecondsSince(start);
    int checked = 0;
    for (int i = 0; i < view->GetChildCount(); ++i) checked += view->GetNodeAt(i)->GetCheckBox()->IsChecked() ? 1 : 0;
    std::printf("tree of %d nodes: checking all %.2f ms (goal <= 50), one top branch (%d boxes) %.2f ms\n",
                view->GetChildCount(), all, checked, branch);
    view->AttachManager(nullptr, nullptr, false);
    delete view;
}

double ProcessCpuMs()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

int BenchIdleIndicators()
{
    SkinImageFolder folder;
    folder.Write(L"bench_ring.png", 24, {0x2080C0, 0xDDE3E8});
    HostWindow host;
    host.CreateNativeWindow(nullptr, L"indicator bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0, 400, 200);
    if (host.GetNativeHandle() == nullptr) {
        std::printf("no window (is a display set?)\n");
        return 1;
    }
    host.Attach();
    CHorizontalLayoutUI* root = new CHorizontalLayoutUI();
    root->SetBackgroundColor(0xFFF4F6F8);
    CLoadingBarUI* bar = new CLoadingBarUI();
    bar->SetFixedHeightValue(8);
    bar->SetForegroundColor(0xFF2080C0);
    CRingUI* ring = new CRingUI();
    ring->SetFixedWidthValue(48);
    ring->SetFixedHeightValue(48);
    ring->ApplyAttribute(L"bkimage", L"bench_ring.png");
    root->AddChild(bar);
    root->AddChild(ring);
    host.pm.AttachRoot(root);
    UpdateWindow(host.GetNativeHandle());
    Settle();

    const DWORD kRunMs = 3000;
    const double cpuStart = ProcessCpuMs();
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    const int offsetStart = bar->GetOffset();
    MSG msg;
    while (MillisecondsSince(start) < kRunMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    const double wall = MillisecondsSince(start);
    const double cpu = ProcessCpuMs() - cpuStart;
    std::printf("idle window with a loading bar and a ring: %.1f %% of one core over %.0f ms "
                "(goal: a few per cent); bar moved %d px, ring at %.0f degrees\n",
                100.0 * cpu / wall, wall, bar->GetOffset() - offsetStart, ring->GetAngle());
    host.Detach();
    DestroyWindow(host.GetNativeHandle());
    Pump();
    return 0;
}

} // namespace

int main()
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    BenchTreeCheck();
    const int result = BenchIdleIndicators();
    Gdiplus::GdiplusShutdown(token);
    return result;
}
