#pragma once

#include "uilib/core/UIString.h"

namespace SkinUI {

// String-keyed hash map of untyped pointers with chained buckets. Keys are
// case-sensitive; the map owns its entries but never what the data points to.
// The bucket count is fixed until Reset; lookups move hits to the chain head.
class CUIStringMap {
public:
    static const int kDefaultBuckets = 83;
    static const int kMinBuckets = 16;

    explicit CUIStringMap(int bucketCount = kDefaultBuckets);
    ~CUIStringMap();
    CUIStringMap(const CUIStringMap&) = delete;
    CUIStringMap& operator=(const CUIStringMap&) = delete;

    void* Lookup(const wchar_t* key, bool moveToFront = true);
    // False when the key is present (its entry stays as it is) or no buckets.
    bool InsertNew(const wchar_t* key, void* data);
    // Returns the data replaced, null after an insertion, or data when there
    // are no buckets to store it in.
    void* Set(const wchar_t* key, void* data);
    bool Remove(const wchar_t* key);
    void RemoveAll();
    // Frees every entry and the table; then n buckets (0: none, no storage).
    void Reset(int bucketCount);

    int Count() const { return m_count; }
    int BucketCount() const { return m_bucketCount; }
    // Enumeration: buckets from last to first, each chain from its head.
    // Walking positions in order costs one step each while the map is not
    // changed (lookups that do not move entries are fine).
    const wchar_t* KeyAt(int position) const;

private:
    struct Entry {
        CUIString key;
        void* data;
        Entry* prev;
        Entry* next;
    };

    static unsigned int Hash(const wchar_t* key);
    Entry* Find(const wchar_t* key, bool moveToFront);
    void Unlink(Entry* entry);
    void LinkAtHead(Entry* entry);
    void FreeAll();
    // Every change of order or content ends the walk in progress.
    void ForgetCursor() const { m_cursorEntry = nullptr; }

    Entry** m_buckets;
    int m_bucketCount;
    int m_count;
    // Where the last KeyAt stopped.
    mutable Entry* m_cursorEntry;
    mutable int m_cursorBucket;
    mutable int m_cursorPosition;
};

} // namespace SkinUI
