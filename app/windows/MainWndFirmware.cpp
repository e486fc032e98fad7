#include "app/windows/MainWnd.h"

#include "app/windows/AboutWnd.h"
#include "app/windows/UpdateFwWnd.h"

void CMainWnd::OpenFirmwareUpdate()
{
    DspDevice& device = m_controller.Device();
    // While the update window is open, the unit's restart is no unplug.
    m_controller.updateWindowOpen = true;
    const int code = OpenUpdateFwWnd(m_window, device);
    m_controller.updateWindowOpen = false;
    // Closed by the unit's return after its restart (1), the connection reads
    // it again; otherwise the link goes back to ordinary work through a read.
    m_controller.ResumeAfterFirmwareWindow(code == 1);
}

void CMainWnd::OpenAbout()
{
    const SceneProfile& profile = m_controller.Current();
    UnitIdentity unit;
    if (m_controller.Device().mDeviceModelId.load() >= 0) {
        unit.model = profile.model;
        unit.mainVersion = profile.mainVersion;
        unit.slaveVersion = profile.slaveVersion;
    }
    OpenAboutWnd(m_window, unit);
}
