// The firmware update window's transfer against an instant simulated unit
// already in its loader: time per block from the start to the result shown,
// the worker's progress posting and the window's handling included.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "AppSkin.h"
#include "app/windows/UpdateFwWnd.h"
#include "tests/device/LoaderBench.h"
#include "tests/uilib/kit/BenchClock.h"
#include "tests/uilib/kit/MessagePump.h"

namespace {

void BenchWindow(DspDevice& device, const wchar_t* name, const std::vector<uint8_t>& image, int blocks)
{
    const std::wstring path = std::wstring(L"bench_window_") + name;
    if (!fwtest::WriteImage(path, image)) {
        std::printf("%ls: cannot write the file\n", name);
        return;
    }
    CUpdateFwWnd* window = new CUpdateFwWnd(device);
    HWND handle = window->CreateNativeWindow(nullptr, L"updatefwwnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW);
    SkinUI::CControlUI* tips = window->PaintManager().FindControlByName(L"update_tips");
    if (handle == nullptr || tips == nullptr) {
        std::printf("%ls: no window\n", name);
        return;
    }
    window->ChooseFile(path.c_str());
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    window->BeginUpdate();
    const std::wstring done = SkinUI::CResourceStore::GetInstance()->LookupText(L"${update_ok}").CStr();
    const bool ended = SkinUITest::PumpUntil(
        [&] { return !window->IsUpdating() && std::wstring(tips->GetTextContent().CStr()) == done; }, 60000);
    const double ms = SkinUITest::MillisecondsSince(start);
    DestroyWindow(handle);
    SkinUITest::PumpPending();
    _wremove(path.c_str());
    if (!ended) {
        std::printf("%ls: the update did not end in \"${update_ok}\"\n", name);
        return;
    }
    std::printf("%ls: %.3f ms per block in the window (%d blocks; target <= 1 ms)\n", name, ms / blocks, blocks);
}

} // namespace

int main()
{
    if (!OpenAppSkin()) {
        std::printf("no skin\n");
        return 1;
    }
    // Each image against a unit fresh in its loader: a finished image
    // restarts the unit into its application.
    int status = 0;
    status |= fwtest::WithLoaderUnit(
        [](DspDevice& device) { BenchWindow(device, L"BrisaDSP_FLASH_UPG.bin", fwtest::DspImage(50 * 2000), 2000); });
    status |= fwtest::WithLoaderUnit(
        [](DspDevice& device) { BenchWindow(device, L"BrisaDSP_MCU_UPG.bin", fwtest::McuImage(32 * 2000), 2000); });
    return status;
}
