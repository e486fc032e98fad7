// The drag rectangle's size as the system gives it.
#include "uilib/core/DragRect.h"

namespace SkinUI {

CUISize CDragRect::SystemSize()
{
    return CUISize(GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG));
}

} // namespace SkinUI
