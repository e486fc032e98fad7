#include "uilib/core/UIStringMap.h"

#include <cstdlib>
#include <new>

namespace SkinUI {

CUIStringMap::CUIStringMap(int bucketCount)
    : m_buckets(nullptr), m_bucketCount(0), m_count(0), m_cursorEntry(nullptr), m_cursorBucket(0), m_cursorPosition(0)
{
    Reset(bucketCount > kMinBuckets ? bucketCount : kMinBuckets);
}

CUIStringMap::~CUIStringMap()
{
    FreeAll();
}

unsigned int CUIStringMap::Hash(const wchar_t* key)
{
    const wchar_t* end = key;
    while (*end)
        ++end;
    unsigned int h = 0;
    while (end != key) {
        --end;
        h = h * 33u + static_cast<unsigned int>(*end);
    }
    return h;
}

void CUIStringMap::Unlink(Entry* entry)
{
    ForgetCursor();
    if (entry->prev)
        entry->prev->next = entry->next;
    else
        m_buckets[Hash(entry->key.CStr()) % m_bucketCount] = entry->next;
    if (entry->next)
        entry->next->prev = entry->prev;
    entry->prev = nullptr;
    entry->next = nullptr;
}

void CUIStringMap::LinkAtHead(Entry* entry)
{
    ForgetCursor();
    Entry*& head = m_buckets[Hash(entry->key.CStr()) % m_bucketCount];
    entry->prev = nullptr;
    entry->next = head;
    if (head)
        head->prev = entry;
    head = entry;
}

CUIStringMap::Entry* CUIStringMap::Find(const wchar_t* key, bool moveToFront)
{
    if (!key || !m_buckets || m_count == 0)
        return nullptr;
    Entry* head = m_buckets[Hash(key) % m_bucketCount];
    for (Entry* e = head; e; e = e->next) {
        if (e->key == key) {
            if (moveToFront && e != head) {
                Unlink(e);
                LinkAtHead(e);
            }
            return e;
        }
    }
    return nullptr;
}

void* CUIStringMap::Lookup(const wchar_t* key, bool moveToFront)
{
    Entry* e = Find(key, moveToFront);
    return e ? e->data : nullptr;
}

bool CUIStringMap::InsertNew(const wchar_t* key, void* data)
{
    if (!key || !m_buckets || Find(key, true))
        return false;
    Entry* e = new (std::nothrow) Entry;
    if (!e)
        return false;
    e->key = key;
    e->data = data;
    LinkAtHead(e);
    ++m_count;
    return true;
}

void* CUIStringMap::Set(const wchar_t* key, void* data)
{
    if (!key || !m_buckets)
        return data;
    Entry* e = Find(key, true);
    if (e) {
        void* old = e->data;
        e->data = data;
        return old;
    }
    // A failed insertion hands the data back, as with no buckets.
    return InsertNew(key, data) ? nullptr : data;
}

bool CUIStringMap::Remove(const wchar_t* key)
{
    Entry* e = Find(key, false);
    if (!e)
        return false;
    Unlink(e);
    delete e;
    --m_count;
    return true;
}

void CUIStringMap::RemoveAll()
{
    Reset(m_bucketCount);
}

void CUIStringMap::FreeAll()
{
    ForgetCursor();
    for (int i = 0; i < m_bucketCount; ++i) {
        Entry* e = m_buckets[i];
        while (e) {
            Entry* next = e->next;
            delete e;
            e = next;
        }
    }
    free(m_buckets);
    m_buckets = nullptr;
    m_bucketCount = 0;
    m_count = 0;
}

void CUIStringMap::Reset(int bucketCount)
{
    FreeAll();
    if (bucketCount <= 0)
        return;
    m_buckets = static_cast<Entry**>(calloc(static_cast<size_t>(bucketCount), sizeof(Entry*)));
    if (m_buckets)
        m_bucketCount = bucketCount;
}

const wchar_t* CUIStringMap::KeyAt(int position) const
{
    if (position < 0 || position >= m_count)
        return nullptr;
    int bucket = m_bucketCount - 1;
    Entry* e = m_bucketCount > 0 ? m_buckets[bucket] : nullptr;
    int seen = 0;
    if (m_cursorEntry && m_cursorPosition <= position) {
        bucket = m_cursorBucket;
        e = m_cursorEntry;
        seen = m_cursorPosition;
    }
    while (bucket >= 0) {
        for (; e; e = e->next) {
            if (seen == position) {
                m_cursorEntry = e;
                m_cursorBucket = bucket;
                m_cursorPosition = seen;
                return e->key.CStr();
            }
            ++seen;
        }
        if (--bucket >= 0)
            e = m_buckets[bucket];
    }
    return nullptr;
}

} // namespace SkinUI
