#include "app/windows/MainWnd.h"

#include "app/tuning/ReachedOperation.h"
#include "app/windows/CompressorsOnWnd.h"
#include "app/windows/NoiseThresholdWnd.h"

// Dialogs of the advance menu.
void CMainWnd::OpenNoiseThresholdWnd()
{
    const ReachedOperation reached(__func__);
    ShowNoiseThresholdWnd(m_window, m_controller);
}

void CMainWnd::OpenCompressorsOnWnd()
{
    ShowCompressorsOnWnd(m_window, m_controller);
}
