#include "uilib/core/UIString.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <string>

#ifdef _WIN32
#include <cstdarg>
#include <cstdio>
#endif

namespace SkinUI {

namespace {

int TextLength(const wchar_t* text)
{
    size_t n = wcslen(text);
    return n > static_cast<size_t>(INT_MAX - 1) ? INT_MAX - 1 : static_cast<int>(n);
}

} // namespace

int CompareTextIgnoreCase(const wchar_t* a, const wchar_t* b)
{
    if (!a)
        a = L"";
    if (!b)
        b = L"";
    for (;; ++a, ++b) {
        wint_t ca = towlower(static_cast<wint_t>(*a));
        wint_t cb = towlower(static_cast<wint_t>(*b));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

CUIString::CUIString() : m_text(m_inline)
{
    m_inline[0] = L'\0';
}

CUIString::CUIString(const wchar_t* text, int length) : m_text(m_inline)
{
    m_inline[0] = L'\0';
    AssignText(text, length);
}

CUIString::CUIString(wchar_t ch) : m_text(m_inline)
{
    m_inline[0] = ch;
    m_inline[1] = L'\0';
}

CUIString::CUIString(const CUIString& other) : m_text(m_inline)
{
    m_inline[0] = L'\0';
    AssignText(other.m_text, other.Length());
}

CUIString::~CUIString()
{
    FreeHeap();
}

CUIString& CUIString::operator=(const CUIString& other)
{
    if (this != &other)
        AssignText(other.m_text, other.Length());
    return *this;
}

CUIString& CUIString::operator=(const wchar_t* text)
{
    AssignText(text, -1);
    return *this;
}

void CUIString::FreeHeap()
{
    if (!IsInline())
        free(m_text);
    m_text = m_inline;
}

bool CUIString::OverlapsText(const wchar_t* text) const
{
    uintptr_t p = reinterpret_cast<uintptr_t>(text);
    uintptr_t begin = reinterpret_cast<uintptr_t>(m_text);
    uintptr_t end = reinterpret_cast<uintptr_t>(m_text + Length() + 1);
    return p >= begin && p < end;
}

void CUIString::AssignText(const wchar_t* text, int length)
{
    if (!text)
        text = L"";
    if (length < 0)
        length = TextLength(text);

    if (length < kHeapThreshold) {
        // Copy before freeing: the text may live in our own heap block.
        memmove(m_inline, text, length * sizeof(wchar_t));
        m_inline[length] = L'\0';
        FreeHeap();
        return;
    }

    if (IsInline() || length > Length()) {
        wchar_t* block = static_cast<wchar_t*>(malloc((static_cast<size_t>(length) + 1) * sizeof(wchar_t)));
        if (!block)
            return;
        memcpy(block, text, length * sizeof(wchar_t));
        block[length] = L'\0';
        FreeHeap();
        m_text = block;
        return;
    }

    // A shorter text of heap size reuses the block.
    memmove(m_text, text, length * sizeof(wchar_t));
    m_text[length] = L'\0';
}

void CUIString::Append(const wchar_t* text, int length)
{
    if (!text || length <= 0)
        return;
    if (OverlapsText(text)) {
        // Growing may move our own text; append from a copy.
        CUIString copy(text, length);
        Append(copy.m_text, length);
        return;
    }
    int current = Length();
    if (length > INT_MAX - 1 - current)
        return;
    int total = current + length;
    if (total >= kHeapThreshold) {
        bool wasInline = IsInline();
        void* old = wasInline ? nullptr : m_text;
        wchar_t* block = static_cast<wchar_t*>(realloc(old, (static_cast<size_t>(total) + 1) * sizeof(wchar_t)));
        if (!block)
            return;
        if (wasInline)
            memcpy(block, m_inline, (static_cast<size_t>(current) + 1) * sizeof(wchar_t));
        m_text = block;
    }
    memcpy(m_text + current, text, length * sizeof(wchar_t));
    m_text[total] = L'\0';
}

CUIString& CUIString::operator+=(const CUIString& other)
{
    Append(other.m_text, other.Length());
    return *this;
}

CUIString& CUIString::operator+=(const wchar_t* text)
{
    if (text)
        Append(text, TextLength(text));
    return *this;
}

CUIString& CUIString::operator+=(wchar_t ch)
{
    Append(&ch, 1);
    return *this;
}

CUIString CUIString::operator+(const CUIString& other) const
{
    CUIString result(*this);
    result += other;
    return result;
}

void CUIString::Clear()
{
    FreeHeap();
    m_inline[0] = L'\0';
}

int CUIString::Length() const
{
    return TextLength(m_text);
}

int CUIString::Compare(const wchar_t* text) const
{
    return wcscmp(m_text, text ? text : L"");
}

int CUIString::CompareIgnoreCase(const wchar_t* text) const
{
    return CompareTextIgnoreCase(m_text, text);
}

void CUIString::ToLower()
{
    for (wchar_t* p = m_text; *p; ++p)
        *p = static_cast<wchar_t>(towlower(static_cast<wint_t>(*p)));
}

CUIString CUIString::Prefix(int n) const
{
    int len = Length();
    if (n < 0)
        n = 0;
    if (n > len)
        n = len;
    return CUIString(m_text, n);
}

CUIString CUIString::Substring(int start, int len) const
{
    int total = Length();
    if (start < 0 || start > total)
        return CUIString();
    int left = total - start;
    if (len < 0 || len > left)
        len = left;
    return CUIString(m_text + start, len);
}

CUIString CUIString::Suffix(int n) const
{
    int len = Length();
    if (n < 0)
        n = 0;
    if (n > len)
        n = len;
    return CUIString(m_text + len - n, n);
}

int CUIString::IndexOf(const wchar_t* text, int start) const
{
    int length = Length();
    if (!text || start < 0 || start > length)
        return -1;
    // Own loop: runtimes disagree on an empty text searched in an empty tail.
    int needle = TextLength(text);
    for (int i = start; i + needle <= length; ++i) {
        if (wmemcmp(m_text + i, text, needle) == 0)
            return i;
    }
    return -1;
}

int CUIString::IndexOfChar(wchar_t ch, int start) const
{
    if (start < 0 || (start != 0 && start >= Length()))
        return -1;
    for (int i = start; m_text[i]; ++i) {
        if (m_text[i] == ch)
            return i;
    }
    return -1;
}

int CUIString::LastIndexOfChar(wchar_t ch) const
{
    int found = -1;
    for (int i = 0; m_text[i]; ++i) {
        if (m_text[i] == ch)
            found = i;
    }
    return found;
}

int CUIString::ReplaceAll(const wchar_t* from, const wchar_t* to)
{
    if (!from || !*from)
        return 0;
    // Copies: either text may point into this string.
    const std::wstring needle(from);
    const std::wstring replacement(to ? to : L"");
    const size_t needleLen = needle.size();
    // One pass over the source and one growing buffer: a language file's
    // worth of hits must not re-measure either text at every hit.
    const size_t length = static_cast<size_t>(Length());
    std::wstring result;
    int count = 0;
    size_t done = 0;
    for (size_t i = 0; i + needleLen <= length;) {
        if (m_text[i] != needle[0] || wmemcmp(m_text + i, needle.data(), needleLen) != 0) {
            ++i;
            continue;
        }
        if (count == 0)
            result.reserve(length);
        result.append(m_text + done, i - done);
        result += replacement;
        i += needleLen;
        done = i;
        ++count;
    }
    if (count > 0) {
        result.append(m_text + done, length - done);
        AssignText(result.data(), static_cast<int>(result.size()));
    }
    return count;
}

#ifdef _WIN32
int CUIString::Printf(const wchar_t* format, ...)
{
    if (!format) {
        Clear();
        return 0;
    }
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    int needed = _vscwprintf(format, measure);
    va_end(measure);
    if (needed < 0) {
        va_end(args);
        return needed;
    }
    wchar_t* block = static_cast<wchar_t*>(calloc(static_cast<size_t>(needed) + 1, sizeof(wchar_t)));
    if (!block) {
        va_end(args);
        return -1;
    }
    int written = _vsnwprintf(block, static_cast<size_t>(needed) + 1, format, args);
    va_end(args);
    AssignText(block, written < 0 ? 0 : written);
    free(block);
    return written;
}

int CUIString::PrintfShort(const wchar_t* format, ...)
{
    if (!format) {
        Clear();
        return 0;
    }
    wchar_t buffer[kInlineChars] = {};
    va_list args;
    va_start(args, format);
    int written = _vsnwprintf(buffer, kHeapThreshold, format, args);
    va_end(args);
    buffer[kHeapThreshold] = L'\0';
    AssignText(buffer, -1);
    return written;
}
#endif

} // namespace SkinUI
