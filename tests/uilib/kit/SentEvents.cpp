#include "SentEvents.h"

namespace SkinUITest {

void SendEvent(SkinUI::CControlUI& control, int type, int x, int y, WPARAM wParam)
{
    SkinUI::TEventInfo event;
    event.type = type;
    event.sender = &control;
    event.point = {x, y};
    event.wParam = wParam;
    event.timestamp = GetTickCount();
    control.HandleEvent(event);
}

void SendKey(SkinUI::CControlUI& control, WORD key)
{
    SkinUI::TEventInfo event;
    event.type = SkinUI::UIEVENT_KEYDOWN;
    event.sender = &control;
    event.keyChar = key;
    event.wParam = key;
    control.HandleEvent(event);
}

} // namespace SkinUITest
