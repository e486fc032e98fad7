#include "app/windows/MainWnd.h"

#include "base/Log.h"

// Dialogs of the option and advance menus; the windows come with their own
// work, until then each opener logs that it was reached.
void CMainWnd::OpenNoiseThresholdWnd()
{
    LogPrintW(L"CMainWnd::OpenNoiseThresholdWnd\n");
}

void CMainWnd::OpenCompressorsOnWnd()
{
    LogPrintW(L"CMainWnd::OpenCompressorsOnWnd\n");
}
