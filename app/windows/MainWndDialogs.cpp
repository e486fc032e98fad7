#include "app/windows/MainWnd.h"

#include "app/windows/CompressorsOnWnd.h"
#include "app/windows/NoiseThresholdWnd.h"

// Dialogs of the advance menu.
void CMainWnd::OpenNoiseThresholdWnd()
{
    ShowNoiseThresholdWnd(m_window, m_controller);
}

void CMainWnd::OpenCompressorsOnWnd()
{
    ShowCompressorsOnWnd(m_window, m_controller);
}
