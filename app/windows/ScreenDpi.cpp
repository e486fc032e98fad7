#include "app/windows/ScreenDpi.h"

#include <algorithm>
#include <vector>

#include "base/Log.h"

int DpiForScreenSize(int width, int height)
{
    const float scale = std::min(static_cast<float>(width) / 1536.0f, static_cast<float>(height) / 760.0f);
    if (scale < 1.0f) return 77;
    if (scale < 1.25f) return 96;
    if (scale < 1.5f) return 120;
    if (scale < 2.0f) return 144;
    if (scale < 3.0f) return 192;
    return 288;
}

int WidestMonitor(const RECT& mainScreen, const RECT* others, int otherCount, int count, RECT* chosen)
{
    static const RECT kEmpty = {-1, -1, -1, -1};
    int best = 0;
    RECT bestRect = mainScreen;
    for (int i = 1; i < count; ++i) {
        const RECT& rc = i - 1 < otherCount ? others[i - 1] : kEmpty;
        if (rc.right - rc.left > bestRect.right - bestRect.left) {
            best = i;
            bestRect = rc;
        }
    }
    if (chosen != nullptr) *chosen = bestRect;
    return best;
}

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rc, LPARAM data)
{
    // The main screen is listed apart; skip it here.
    if (rc->left != 0 || rc->top != 0) reinterpret_cast<std::vector<RECT>*>(data)->push_back(*rc);
    return TRUE;
}

} // namespace

int GetScreenDpi()
{
    const RECT mainScreen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    LogPrintW(L"m_MainScreen (%d,%d,%d,%d)\n", mainScreen.left, mainScreen.top, mainScreen.right, mainScreen.bottom);
    const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
    LogPrintW(L"m_VirtualScreen (%d,%d,%d,%d)\n", vx, vy, vx + GetSystemMetrics(SM_CXVIRTUALSCREEN),
              vy + GetSystemMetrics(SM_CYVIRTUALSCREEN));
    const int count = GetSystemMetrics(SM_CMONITORS);

    std::vector<RECT> others;
    HDC screen = GetDC(nullptr);
    EnumDisplayMonitors(screen, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&others));
    ReleaseDC(nullptr, screen);
    std::sort(others.begin(), others.end(), [](const RECT& a, const RECT& b) {
        return a.left != b.left ? a.left < b.left : a.top < b.top;
    });

    RECT chosen;
    WidestMonitor(mainScreen, others.data(), static_cast<int>(others.size()), count, &chosen);
    LogPrintW(L"screen size %d x %d\n", chosen.right, chosen.bottom);
    const int dpi = DpiForScreenSize(chosen.right - chosen.left, chosen.bottom - chosen.top);
    LogPrintW(L"DPI %d\n", dpi);
    return dpi;
}
