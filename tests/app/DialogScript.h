// Drives a modal skin window from inside its own modal loop: each step runs
// on a thread timer tick once the window exists, and is retried on later
// ticks until it reports itself done (bounded), so waits are conditions.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "uilib/core/WindowBase.h"

namespace dialogs {

// True when the step is done; false retries it on the next tick.
using Step = std::function<bool(SkinUI::WindowImplBase& window, HWND hwnd)>;

struct ScriptResult {
    bool allStepsRan = false;
    std::string failedStep;  // index of the step that ran out of ticks, or the window left open
};

// Runs open() (which shows the window of className modally) while the steps
// play; a step that has not finished after maxTicks ticks of 20 ms, or a
// window still open that long after the last step, closes the window and
// fails the script.
ScriptResult RunDialogScript(const wchar_t* className, const std::vector<Step>& steps,
                             const std::function<void()>& open, int maxTicks = 250);

// A step on one of several windows that open over each other: it runs once a
// window of that class and name (null: any name) exists.
struct WindowStep {
    const wchar_t* className;
    const wchar_t* windowName;
    Step step;
};
// As RunDialogScript; a failed step closes every window the steps name,
// again on each tick until open() returns.
ScriptResult RunWindowScript(const std::vector<WindowStep>& steps, const std::function<void()>& open,
                             int maxTicks = 250);

SkinUI::CControlUI* Find(SkinUI::WindowImplBase& window, const wchar_t* name);
std::wstring TextOf(SkinUI::WindowImplBase& window, const wchar_t* name);
// Mouse press and release at the control's centre, through the window's queue.
void Click(SkinUI::WindowImplBase& window, HWND hwnd, const wchar_t* name);
// A press on the control slid off it and let go at the window's corner.
void PressSlidOff(SkinUI::WindowImplBase& window, HWND hwnd, const wchar_t* name);
// The notification type the framework sends from the named control.
void Notify(SkinUI::WindowImplBase& window, const wchar_t* name, const char* type);
// Puts text into an edit as typing would leave it.
void SetText(SkinUI::WindowImplBase& window, const wchar_t* name, const wchar_t* text);

} // namespace dialogs
