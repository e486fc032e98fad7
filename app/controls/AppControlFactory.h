#pragma once

#include "uilib/core/UIControl.h"

// The application's own skin elements, for the windows' builder callback:
// a new control for "Curve", "CurveAc", "SButton" or "CircleProgress"
// (compared ignoring case), owned by the caller; null for any other name.
SkinUI::CControlUI* CreateAppControl(const wchar_t* className);
