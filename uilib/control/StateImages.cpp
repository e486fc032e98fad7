#include "uilib/control/StateImages.h"

namespace SkinUI {

void TStateImages::Paint(CControlUI& control, HDC dc, uint32_t& state) const
{
    if (control.HasFocus()) state |= kFocused;
    else state &= ~kFocused;
    if (control.GetEnabledState()) state &= ~kDisabled;
    else state |= kDisabled;

    const CUIString* image = nullptr;
    if (state & kDisabled) image = &disabled;
    else if (state & kFocused) image = &focused;
    else if (state & kHot) image = &hot;
    if (image != nullptr && !image->IsEmpty() && control.DrawImageSpec(dc, *image, nullptr)) return;
    if (!normal.IsEmpty()) control.DrawImageSpec(dc, normal, nullptr);
}

} // namespace SkinUI
