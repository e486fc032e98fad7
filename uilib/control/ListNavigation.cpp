#include "uilib/control/ListNavigation.h"

#include "uilib/control/ListInterfaces.h"

namespace SkinUI {

bool IsSelectableRow(const IContainerUI& rows, int index)
{
    CControlUI* row = rows.GetChildAt(index);
    return row != nullptr && AsListItem(row) != nullptr && row->GetVisibility() && row->GetEnabledState();
}

int FindSelectableRowStrict(const IContainerUI& rows, int start, bool forward)
{
    const int count = rows.GetChildCount();
    if (forward) {
        for (int i = start < 0 ? 0 : start; i < count; ++i)
            if (IsSelectableRow(rows, i)) return i;
    } else {
        for (int i = start >= count ? count - 1 : start; i >= 0; --i)
            if (IsSelectableRow(rows, i)) return i;
    }
    return -1;
}

} // namespace SkinUI
