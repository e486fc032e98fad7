#include "HiddenHostSuite.h"

namespace SkinUITest {

HostWindow* HiddenHostSuite::host = nullptr;

void HiddenHostSuite::SetUpTestSuite()
{
    host = new HostWindow();
    host->CreateNativeWindow(nullptr, L"timer host", WS_OVERLAPPEDWINDOW, 0, 0, 0, 300, 200);
    if (host->GetNativeHandle() != nullptr) host->Attach();
}

void HiddenHostSuite::TearDownTestSuite()
{
    host->Detach();
    if (host->GetNativeHandle() != nullptr) DestroyWindow(host->GetNativeHandle());
    delete host;
    host = nullptr;
}

} // namespace SkinUITest
