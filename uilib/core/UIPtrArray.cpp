#include "uilib/core/UIPtrArray.h"

namespace SkinUI {

int CUIPtrArray::IndexOf(const void* ptr) const
{
    void** data = Data();
    for (int i = 0; i < Count(); ++i) {
        if (data[i] == ptr)
            return i;
    }
    return -1;
}

void* CUIPtrArray::At(int index) const
{
    void* const* slot = static_cast<void* const*>(m_slots.At(index));
    return slot ? *slot : nullptr;
}

} // namespace SkinUI
