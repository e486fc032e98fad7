#include "uilib/core/UIValArray.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace SkinUI {

namespace {

const int kFirstCapacity = 11;

} // namespace

CUIValArray::CUIValArray(int elementSize, int initialCapacity)
    : m_data(nullptr), m_elementSize(elementSize > 0 ? elementSize : 1), m_count(0), m_capacity(0)
{
    if (initialCapacity > 0 && initialCapacity <= INT_MAX / m_elementSize) {
        m_data = static_cast<unsigned char*>(malloc(static_cast<size_t>(initialCapacity) * m_elementSize));
        if (m_data)
            m_capacity = initialCapacity;
    }
}

CUIValArray::CUIValArray(const CUIValArray& other)
    : m_data(nullptr), m_elementSize(other.m_elementSize), m_count(0), m_capacity(0)
{
    CopyFrom(other);
}

CUIValArray& CUIValArray::operator=(const CUIValArray& other)
{
    if (this != &other) {
        Clear();
        m_elementSize = other.m_elementSize;
        CopyFrom(other);
    }
    return *this;
}

CUIValArray::~CUIValArray()
{
    free(m_data);
}

void CUIValArray::CopyFrom(const CUIValArray& other)
{
    for (int i = 0; i < other.m_count; ++i) {
        if (!Append(other[i]))
            return;
    }
}

// Grows once the new count reaches the capacity, so one slot stays free.
bool CUIValArray::GrowFor(int count)
{
    if (count < m_capacity)
        return true;
    if (m_capacity > INT_MAX / 2)
        return false;
    int capacity = m_capacity == 0 ? kFirstCapacity : m_capacity * 2;
    if (capacity > INT_MAX / m_elementSize)
        return false;
    void* grown = realloc(m_data, static_cast<size_t>(capacity) * m_elementSize);
    if (!grown)
        return false;
    m_data = static_cast<unsigned char*>(grown);
    m_capacity = capacity;
    return true;
}

bool CUIValArray::Append(const void* value)
{
    return Insert(m_count, value);
}

bool CUIValArray::Insert(int index, const void* value)
{
    if (index < 0 || index > m_count || m_count == INT_MAX)
        return false;
    if (!GrowFor(m_count + 1))
        return false;
    unsigned char* slot = m_data + static_cast<size_t>(index) * m_elementSize;
    memmove(slot + m_elementSize, slot, static_cast<size_t>(m_count - index) * m_elementSize);
    memcpy(slot, value, m_elementSize);
    ++m_count;
    return true;
}

bool CUIValArray::RemoveAt(int index)
{
    if (index < 0 || index >= m_count)
        return false;
    unsigned char* slot = m_data + static_cast<size_t>(index) * m_elementSize;
    memmove(slot, slot + m_elementSize, static_cast<size_t>(m_count - index - 1) * m_elementSize);
    --m_count;
    return true;
}

bool CUIValArray::Replace(int index, const void* value)
{
    if (index < 0 || index >= m_count)
        return false;
    memcpy(m_data + static_cast<size_t>(index) * m_elementSize, value, m_elementSize);
    return true;
}

void* CUIValArray::At(int index) const
{
    if (index < 0 || index >= m_count)
        return nullptr;
    return m_data + static_cast<size_t>(index) * m_elementSize;
}

void CUIValArray::Clear()
{
    free(m_data);
    m_data = nullptr;
    m_count = 0;
    m_capacity = 0;
}

bool CUIValArray::Resize(int n)
{
    Clear();
    if (n <= 0)
        return true;
    if (n > INT_MAX / m_elementSize)
        return false;
    m_data = static_cast<unsigned char*>(calloc(static_cast<size_t>(n), m_elementSize));
    if (!m_data)
        return false;
    m_count = n;
    m_capacity = n;
    return true;
}

} // namespace SkinUI
