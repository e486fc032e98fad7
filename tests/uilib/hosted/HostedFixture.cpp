#include "HostedFixture.h"

using namespace SkinUI;

namespace SkinUITest {

HostWindow* HostedFixture::sharedHost = nullptr;

void HostedFixture::SetUpTestSuite()
{
    // Hosted objects live in the window thread's single-threaded apartment.
    OleInitialize(nullptr);
    sharedHost = new HostWindow();
    sharedHost->CreateNativeWindow(nullptr, L"hosted controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 60, 60, 640, 480);
    if (sharedHost->GetNativeHandle() != nullptr) sharedHost->Attach();
}

void HostedFixture::TearDownTestSuite()
{
    sharedHost->Detach();
    if (sharedHost->GetNativeHandle() != nullptr) DestroyWindow(sharedHost->GetNativeHandle());
    Pump();
    delete sharedHost;
    sharedHost = nullptr;
    OleUninitialize();
}

void HostedFixture::SetUp()
{
    ASSERT_NE(host.GetNativeHandle(), nullptr);
    recorder = new NotifyRecorder(host.pm);
    root = new CVerticalLayoutUI();
    root->SetBackgroundColor(0xFFFFFFFF);
    away = new CButtonUI();
    away->SetControlName(L"away");
    Add(away, 30);
}

void HostedFixture::TearDown()
{
    host.pm.SetFocusControl(nullptr);
    delete recorder;
}

void HostedFixture::Add(CControlUI* control, int height)
{
    control->SetFixedHeightValue(height);
    root->AddChild(control);
}

void HostedFixture::Show()
{
    // The previous test's tree is deleted by the manager.
    host.pm.AttachRoot(root);
    SetForegroundWindow(Window());
    InvalidateRect(Window(), nullptr, FALSE);
    UpdateWindow(Window());
    ASSERT_TRUE(PumpUntil([this] { return away->GetPosition().Height() == 30; }));
}

} // namespace SkinUITest
