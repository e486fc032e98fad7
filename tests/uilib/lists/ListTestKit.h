#pragma once

#include <windows.h>

#include "uilib/control/ListLabelElement.h"
#include "uilib/core/UIManager.h"
#include "uilib/layout/Container.h"
#include "tests/uilib/kit/MessagePump.h"
#include "tests/uilib/kit/NotifyRecorder.h"
#include "tests/uilib/kit/SentEvents.h"

namespace ListTest {

// Holds Ctrl down in this thread's keyboard state while alive.
class CtrlHeld {
public:
    CtrlHeld();
    ~CtrlHeld();
    CtrlHeld(const CtrlHeld&) = delete;
    CtrlHeld& operator=(const CtrlHeld&) = delete;
};

// A label row of fixed height with a text.
SkinUI::CListLabelElementUI* NewRow(const wchar_t* text, int height = 20);
// Adds count rows named "r0".. to the container (a list or a combo).
void AddRows(SkinUI::IContainerUI& rows, int count, int height = 20);

// Top-level windows of this thread that are still alive.
int ThreadWindowCount();

} // namespace ListTest
