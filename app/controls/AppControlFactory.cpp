#include "app/controls/AppControlFactory.h"

#include <new>

#include "app/controls/CircleProgressUI.h"
#include "app/controls/SButtonUI.h"
#include "app/controls/UIEqualizer.h"
#include "app/controls/UIEqualizerAc.h"
#include "uilib/core/UIString.h"

SkinUI::CControlUI* CreateAppControl(const wchar_t* className)
{
    if (className == nullptr) return nullptr;
    using SkinUI::CompareTextIgnoreCase;
    if (CompareTextIgnoreCase(className, L"CircleProgress") == 0) return new (std::nothrow) CCircleProgressUI();
    if (CompareTextIgnoreCase(className, L"Curve") == 0) return new (std::nothrow) UIEqualizer();
    if (CompareTextIgnoreCase(className, L"CurveAc") == 0) return new (std::nothrow) UIEqualizerAc();
    if (CompareTextIgnoreCase(className, L"SButton") == 0) return new (std::nothrow) SkinUI::CSButtonUI();
    return nullptr;
}
