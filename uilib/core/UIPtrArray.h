#pragma once

#include "uilib/core/UIValArray.h"

namespace SkinUI {

// Growable array of untyped pointers; it never owns what they point to.
class CUIPtrArray {
public:
    explicit CUIPtrArray(int initialCapacity = 0) : m_slots(sizeof(void*), initialCapacity) {}

    bool Append(void* ptr) { return m_slots.Append(&ptr); }
    bool Insert(int index, void* ptr) { return m_slots.Insert(index, &ptr); }
    bool RemoveAt(int index) { return m_slots.RemoveAt(index); }
    bool Replace(int index, void* ptr) { return m_slots.Replace(index, &ptr); }

    int IndexOf(const void* ptr) const;
    // Null when the index is out of range.
    void* At(int index) const;
    // No range check.
    void* operator[](int index) const { return Data()[index]; }

    int Count() const { return m_slots.Count(); }
    bool IsEmpty() const { return m_slots.IsEmpty(); }
    int Capacity() const { return m_slots.Capacity(); }
    void** Data() const { return static_cast<void**>(m_slots.Data()); }

    void Clear() { m_slots.Clear(); }
    // Clears, then holds n null pointers.
    bool Resize(int n) { return m_slots.Resize(n); }

private:
    CUIValArray m_slots;
};

} // namespace SkinUI
