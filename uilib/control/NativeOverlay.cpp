#include "uilib/control/NativeOverlay.h"

#include <commctrl.h>

#include "uilib/core/UIManager.h"

namespace SkinUI {

CUIRect ClipToAncestors(const CControlUI& control, CUIRect rc)
{
    for (CControlUI* ancestor = control.GetParentControl(); ancestor != nullptr;
         ancestor = ancestor->GetParentControl()) {
        if (!ancestor->GetVisibility()) return CUIRect();
        const CUIRect area = ancestor->GetContentArea();
        RECT clipped;
        if (!IntersectRect(&clipped, &rc, &area)) return CUIRect();
        rc = clipped;
    }
    return rc;
}

CUIRect CenterOnFontHeight(CPaintManagerUI& manager, int font, CUIRect rc)
{
    const TFontEntry* entry = manager.FontEntry(font);
    const int textHeight = entry != nullptr ? entry->metrics.tmHeight : 0;
    if (textHeight < rc.Height()) {
        rc.top += (rc.Height() - textHeight) / 2;
        rc.bottom = rc.top + textHeight;
    }
    return rc;
}

HFONT ResolveFontHandle(CPaintManagerUI& manager, int font)
{
    HFONT handle = font != -1 ? manager.FontHandle(font) : nullptr;
    return handle != nullptr ? handle : manager.DefaultFontEntry()->font;
}

bool EnsureEditorClasses()
{
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_DATE_CLASSES | ICC_INTERNET_CLASSES | ICC_HOTKEY_CLASS};
    return InitCommonControlsEx(&classes) != FALSE;
}

} // namespace SkinUI
