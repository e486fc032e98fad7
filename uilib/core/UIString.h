#pragma once

#include <cstddef>
#include <cwchar>

namespace SkinUI {

// Three-way comparison folding case character by character; null counts as
// the empty text.
int CompareTextIgnoreCase(const wchar_t* a, const wchar_t* b);

// Wide text with an inline buffer: texts of fewer than 63 characters need no
// heap block, which covers nearly every name, key and attribute value.
class CUIString {
public:
    static const int kInlineChars = 64;
    static const int kHeapThreshold = 63;

    CUIString();
    CUIString(const wchar_t* text, int length = -1);
    explicit CUIString(wchar_t ch);
    CUIString(const CUIString& other);
    ~CUIString();

    CUIString& operator=(const CUIString& other);
    CUIString& operator=(const wchar_t* text);

    // Copies length characters (-1: up to the terminator); null means empty.
    void AssignText(const wchar_t* text, int length = -1);

    CUIString& operator+=(const CUIString& other);
    CUIString& operator+=(const wchar_t* text);
    CUIString& operator+=(wchar_t ch);
    CUIString operator+(const CUIString& other) const;

    void Clear();
    bool IsEmpty() const { return m_text[0] == L'\0'; }
    int Length() const;
    const wchar_t* CStr() const { return m_text; }
    operator const wchar_t*() const { return m_text; }
    wchar_t CharAt(int index) const { return m_text[index]; }

    bool operator==(const CUIString& other) const { return Compare(other.m_text) == 0; }
    bool operator==(const wchar_t* text) const { return Compare(text) == 0; }
    bool operator!=(const CUIString& other) const { return Compare(other.m_text) != 0; }
    bool operator!=(const wchar_t* text) const { return Compare(text) != 0; }
    bool operator<(const CUIString& other) const { return Compare(other.m_text) < 0; }
    bool operator<(const wchar_t* text) const { return Compare(text) < 0; }

    // Three-way, ordinal; a null text compares as the empty text.
    int Compare(const wchar_t* text) const;
    int CompareIgnoreCase(const wchar_t* text) const;
    void ToLower();

    CUIString Prefix(int n) const;
    CUIString Substring(int start, int len = -1) const;
    CUIString Suffix(int n) const;

    int IndexOf(const wchar_t* text, int start = 0) const;
    int IndexOfChar(wchar_t ch, int start = 0) const;
    int LastIndexOfChar(wchar_t ch) const;

    // Inserted text is not searched again; returns the number of replacements.
    int ReplaceAll(const wchar_t* from, const wchar_t* to);

#ifdef _WIN32
    // Microsoft wide printf: %s is a wide text, %S a narrow one.
    int Printf(const wchar_t* format, ...);
    // As Printf, but the result is cut to 63 characters; -1 when it was cut.
    int PrintfShort(const wchar_t* format, ...);
#endif

private:
    bool IsInline() const { return m_text == m_inline; }
    bool OverlapsText(const wchar_t* text) const;
    void Append(const wchar_t* text, int length);
    void FreeHeap();

    wchar_t* m_text;
    wchar_t m_inline[kInlineChars];
};

inline bool operator==(const wchar_t* text, const CUIString& s) { return s == text; }
inline bool operator!=(const wchar_t* text, const CUIString& s) { return s != text; }

} // namespace SkinUI
