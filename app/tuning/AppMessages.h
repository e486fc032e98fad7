// Private messages of the main window: worker threads and the controller
// report through them (wParam 0, lParam 0 unless said), and the UI thread
// does the work.
#pragma once

#include <windows.h>

// Every worker's outcome below carries in wParam the serial of the link it
// ran on; WM_BUSY_END and the replies do not.
constexpr UINT WM_STATUS_READ_FAILED = 0x4DA;  // the handshake got no answer
constexpr UINT WM_STATUS_READ_DONE = 0x4DB;    // every value was asked for
constexpr UINT WM_STATUS_READ_SILENT = 0x4DC;  // the unit stopped answering part way
constexpr UINT WM_DEVICE_DISCONNECT = 0x4DD;   // the link must be closed
constexpr UINT WM_FORCE_UPDATE = 0x4E0;        // the unit's firmware is older than ours
constexpr UINT WM_DSP_FW_NEWER = 0x4E3;        // the unit's firmware is newer than ours
// A long job starts: the loading window shows; wParam: its token.
constexpr UINT WM_BUSY_BEGIN = 0x4FA;
// The job ended: only the loading window of its token (wParam) closes.
constexpr UINT WM_BUSY_END = 0x4FB;
// The unplug notice, shown by the UI thread once the removal was handled;
// wParam: the serial the removal left.
constexpr UINT WM_SHOW_PLUGOUT_NOTICE = 0x4FC;
// A link job ended on its worker (a scene job, a profile push or whole
// save, an output job, the factory reset); lParam: its JobReport, packed.
constexpr UINT WM_LINK_JOB_DONE = 0x512;
// A notice that opens once the loading window before it has gone; lParam:
// its language key, a literal; wParam: how often it goes behind the queue
// first, with kNoticeOverTyping when the installer was typing into a box.
constexpr UINT WM_SHOW_UNIT_NOTICE = 0x513;
constexpr WPARAM kNoticeOverTyping = 0x100;
// A link let go: the live profile goes back to what the unit last took,
// behind the closes of the unit's windows, whose boxes are left first;
// wParam: the serial the close left.
constexpr UINT WM_BACK_TO_TAKEN = 0x514;
constexpr UINT WM_MENU_CLICK = 1027;           // wParam: the menu's command record

constexpr UINT_PTR kStatusTimerId = 7698;
constexpr UINT kStatusTimerMs = 100;
constexpr UINT_PTR kMainVolumeTimerId = 4114;
constexpr UINT kMainVolumeTimerMs = 1000;
constexpr int kMainVolumePolls = 10;
