#pragma once

#include <cstddef>

namespace SkinUI {

// Growable array of fixed-size values, copied in and out by bytes.
// Growth: 11 slots first, then doubling, always keeping one slot free.
class CUIValArray {
public:
    explicit CUIValArray(int elementSize, int initialCapacity = 0);
    CUIValArray(const CUIValArray& other);
    CUIValArray& operator=(const CUIValArray& other);
    ~CUIValArray();

    bool Append(const void* value);
    // index == Count() appends; any index outside 0..Count() fails.
    bool Insert(int index, const void* value);
    bool RemoveAt(int index);
    bool Replace(int index, const void* value);

    // Null when the index is out of range.
    void* At(int index) const;
    // No range check.
    void* operator[](int index) const { return m_data + static_cast<ptrdiff_t>(index) * m_elementSize; }

    int Count() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    int Capacity() const { return m_capacity; }
    int ElementSize() const { return m_elementSize; }
    void* Data() const { return m_data; }

    void Clear();
    // Clears, then holds n zeroed elements.
    bool Resize(int n);

private:
    bool GrowFor(int count);
    void CopyFrom(const CUIValArray& other);

    unsigned char* m_data;
    int m_elementSize;
    int m_count;
    int m_capacity;
};

} // namespace SkinUI
