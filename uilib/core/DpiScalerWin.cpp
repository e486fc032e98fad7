// Monitor DPI and process awareness through the system; Shcore.dll is looked
// up at run time because older systems do not have it.
#include "uilib/core/DpiScaler.h"

#include <lm.h>

#include "uilib/core/SystemEntry.h"

namespace SkinUI {

namespace {

const int32_t kFallbackDpi = 96;

// MDT_EFFECTIVE_DPI of the system's monitor DPI types.
const int kEffectiveDpi = 0;

typedef HRESULT(WINAPI* GetDpiForMonitorFn)(HMONITOR, int, UINT*, UINT*);
typedef HRESULT(WINAPI* SetProcessDpiAwarenessFn)(int);

template <typename Fn>
Fn ShcoreEntry(const char* name)
{
    return SystemEntry<Fn>(L"Shcore.dll", name);
}

} // namespace

bool CDpiScaler::IsVistaOrLater()
{
    LPBYTE buffer = nullptr;
    if (NetWkstaGetInfo(nullptr, 100, &buffer) != NERR_Success)
        return false;
    bool later = false;
    if (buffer)
        later = reinterpret_cast<const WKSTA_INFO_100*>(buffer)->wki100_ver_major >= 6;
    NetApiBufferFree(buffer);
    return later;
}

int32_t CDpiScaler::GetMonitorDpi(HMONITOR monitor) const
{
    if (!IsVistaOrLater()) {
        HDC screen = GetDC(nullptr);
        int32_t dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        return dpi;
    }
    auto getDpi = ShcoreEntry<GetDpiForMonitorFn>("GetDpiForMonitor");
    if (!getDpi)
        return kFallbackDpi;
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (FAILED(getDpi(monitor, kEffectiveDpi, &dpiX, &dpiY))) {
        MessageBoxW(nullptr, L"GetDpiForMonitor failed", L"Notification", MB_OK);
        return kFallbackDpi;
    }
    return static_cast<int32_t>(dpiX);
}

int32_t CDpiScaler::GetDpiForPoint(int32_t x, int32_t y) const
{
    POINT pt = {x, y};
    return GetMonitorDpi(MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST));
}

bool CDpiScaler::SetProcessAwareness(int32_t mode)
{
    if (!IsVistaOrLater()) {
        m_awareness = mode;
        return false;
    }
    auto setAwareness = ShcoreEntry<SetProcessDpiAwarenessFn>("SetProcessDpiAwareness");
    if (!setAwareness || FAILED(setAwareness(mode)))
        return false;
    m_awareness = mode;
    return true;
}

} // namespace SkinUI
