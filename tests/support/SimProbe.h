// The test probe inside BrisaDSP_sim.exe: a line protocol on a localhost TCP
// socket with which an end-to-end test reads the state of the program's skin
// windows and steers the simulated unit. It is linked into the simulated
// program only and starts by itself when the environment variable
// BRISA_PROBE_PORT_FILE names a file: the probe listens on 127.0.0.1 at a
// port of its choosing and writes that port, in decimal, into the file.
//
// Requests are one line each ("\n" ends it; a trailing "\r" is ignored),
// words separated by single blanks. Every reply starts with one line:
//   "OK" [value]        the request was done
//   "ERR <reason>"      it was not (unknown request, no such window or
//                       control, UI thread busy for more than 5 s: named
//                       with the program's top window, ...)
// A list reply is "OK <n>" followed by exactly n lines. Record replies are
// tab-separated "key=value" fields; texts are UTF-8 with backslash, tab,
// line feed and carriage return written as "\\", "\t", "\n" and "\r".
// Rectangles are "l,t,r,b" in screen pixels.
//
// Skin windows (read on the UI thread):
//   PING                    -> OK pong
//   QUIT                    -> OK; then the program ends at once (a copy
//                              the program started itself is no child of
//                              the kit's to kill)
//   WINDOWS                 -> OK n, one record per top-level skin window:
//                              hwnd= visible= enabled= dirty= rect= title=
//                              class=; dirty: a part is left to paint
//   WINDOW <window>         -> OK one such record
//   CLOSE <window>          -> the same, WM_CLOSE posted to the window
//   DISPLAYCHANGE <window>  -> the same, WM_DISPLAYCHANGE posted to it
//   MINIMIZE|RESTORE <window> -> the same, the window minimised or restored
//   ENDSESSION <window>     -> OK <answer>: the window's answer to
//                              WM_QUERYENDSESSION (0: the session may not end)
//   STALL <ms>              -> OK; then the UI thread takes nothing for
//                              that long (at most 30000)
//   SYNC                    -> OK once the UI thread has taken every message
//                              posted to it before (a window the program
//                              posted itself to open is open then)
//   SYSCLOSES               -> OK n: the system closes (Alt+F4) the UI
//                              thread's windows were sent since the first ask
//   CONTROL <name> [window] -> OK type= text= visible= over= xwindow=
//                              enabled= selected= value= min= max= index= rect=
//                              visible: the control and every parent shown;
//                              over: the window a click at its centre reaches
//                              when another ("title (class)", "nothing"),
//                              else empty; xwindow: its window's X window;
//                              selected: options, check boxes and the
//                              application's selectable buttons, else 0;
//                              value/min/max: sliders and progress bars, else
//                              empty; index: the selected row of a combo or
//                              list, else empty.
//   CONTROLS <window>       -> OK n, one record per named control of the
//                              window, in tree order: name= and the fields
//                              of CONTROL
//   MENU <row name>         -> OK; the main window is posted the row as a
//                              popup menu posts a chosen one
//   <window> is a window title ("Brisa DSP Audio", "msgwnd"), "#<hwnd hex>",
//   or left out: then the first visible window holding the control.
//
// The simulated unit (answered on the probe's own thread):
//   UNPLUG / PLUG           -> OK; the unit leaves or returns, and every
//                              top-level window of class "MainWnd" is sent
//                              WM_DEVICECHANGE (DBT_DEVICEREMOVECOMPLETE or
//                              DBT_DEVICEARRIVAL) with a device-interface
//                              broadcast named "\\?\HID#VID_0483&PID_5750#..."
//                              (in the order of the moves, however long
//                              the program takes to begin them)
//   MODEL <id>              -> OK; the model id the handshake reports
//   FIRMWARE <main> <slave> -> OK; the firmware version it reports
//   SOURCE <0..8>           -> OK; the input source the unit reports next
//   LINK 0|1                -> OK; the outputs linked (and locked) or not,
//                              as the unit reports them next
//   KNOB <dB>               -> OK; an unsolicited main-volume report
//   SILENT 0|1              -> OK; a silent unit answers nothing
//   HOLDWRITES 0|1          -> OK; with 1 every write of the program waits
//                              inside the unit, neither taken nor failed,
//                              whatever its time-out, until HOLDWRITES 0
//                              lets it on (taken then, unless the unit left)
//   HELDWRITES              -> OK <n>, the writes waiting inside the unit now
//   FAULTAT <n> UNPLUG|SILENT|WRITEFAIL|WRITEFAILONCE|READFAIL
//                           -> OK; the unit fails at the n-th command it
//                              receives from now (1: the next; 0 cancels):
//                              it leaves without taking that command (and
//                              the removal is broadcast as for UNPLUG), it
//                              falls silent from that command on, every
//                              write fails from that command on while it
//                              stays listed (until it is unplugged), that
//                              write alone fails, or it takes that command
//                              and every read fails from then on while it
//                              stays listed (until it is unplugged)
//   READFAIL                -> OK; every read fails from now on while the
//                              unit stays listed (until it is unplugged)
//   MARK                    -> OK <m>, the number of frames received so far
//   FRAMES <m>              -> OK n, the frames received since mark m, one a
//                              line: "<type> <sub> <optype> <payload>" in
//                              two-digit hex, payload bytes joined without
//                              blanks ("01 09 bb 000001")
//   PARAMS <scene>          -> OK n, "key=value" lines of the unit's identity,
//                              unit-wide values and the parameters of scene
//                              0..10 ("out3.mute=1", "out0.eq5.gain=-35")
//   WAITSCALE <percent>     -> OK; every wait of the device library (the
//                              unit's restart pause included) at that share
//   VANISHAT <block>        -> OK; the unit drops off the bus at that block
//                              of its next upgrade image (-1: never)
//   PACE <ms>               -> OK; the unit takes that long over each
//                              upgrade block before it answers
//   RESOURCES               -> OK gdi= user= threads= replies= memory= faces=
//                              images= fonts= dccache= (GDI and USER objects of the
//                              process, its threads, live reply records,
//                              working set KiB, composed image faces cached,
//                              skin images loaded by the live windows or
//                              shared by menus and lists, and fonts the live
//                              windows made on demand, one GDI object each,
//                              and window DCs and regions; counted on the UI thread
//                              between two messages)
//   GDIOBJECTS              -> OK n, one line per live GDI object: handle
//                              index, kind and a bitmap's size or a font's
//                              face, height and weight
//   PUSHES                  -> OK <queued> <off>: commands queued for the
//                              unit so far, and how many of them were queued
//                              by a thread other than the UI thread
//   UIEXCHANGES             -> OK <n> <sub>: exchanges that waited for the
//                              unit's answer, and waits for the queue's
//                              command in progress, on the UI thread (the
//                              window frozen meanwhile), and the subcommand
//                              of the last one (0 when none or a wait)
#pragma once

#include <string>
#include <vector>

namespace sim {

// Splits a request line into its words.
std::vector<std::string> ProbeWords(const std::string& line);

// The reply to one request, first line and list lines, each ended by "\n".
// Runs on the probe's thread; skin window requests are handed to the UI thread.
std::string ProbeAnswer(const std::string& line);

// The reply to a skin window request, or an empty text when the request is
// not one. Runs on the UI thread.
std::string ProbeUiAnswer(const std::vector<std::string>& words);

// The reply to a unit request, or an empty text when the request is not one.
std::string ProbeUnitAnswer(const std::vector<std::string>& words);

// The reply to RESOURCES. Runs on the UI thread.
std::string ProbeResources();

// A decimal argument words[index] within [low, high], into value.
bool ProbeNumber(const std::vector<std::string>& words, size_t index, long low, long high, long* value);

// Reply helpers.
std::string ProbeEscape(const std::wstring& text);
std::string ProbeList(const std::vector<std::string>& lines);
std::string ProbeError(const std::string& reason);

}  // namespace sim
