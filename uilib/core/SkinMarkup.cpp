#include "uilib/core/SkinMarkup.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

#include "uilib/core/UIString.h"
#include "uilib/core/Utf8Decode.h"

namespace SkinUI {

namespace {

bool IsSpace(wchar_t c)
{
    return static_cast<uint32_t>(c) <= 32;
}

bool IsNameChar(wchar_t c)
{
    return iswalnum(static_cast<wint_t>(c)) || c == L'_' || c == L':';
}

struct Entity {
    const wchar_t* name; // without the ampersand, with the semicolon
    wchar_t ch;
};

const Entity kEntities[] = {
    {L"amp;", L'&'}, {L"lt;", L'<'}, {L"gt;", L'>'}, {L"quot;", L'"'}, {L"apos;", L'\''},
};

const size_t kMaxTextLength = 0xFFFFFFF0u;

} // namespace

// Walks the document once, without recursion, so nesting depth costs no stack.
class CSkinMarkup::Parser {
public:
    explicit Parser(CSkinMarkup& doc) : m_doc(doc), m_t(doc.m_text), m_end(doc.m_length) {}

    bool Run()
    {
        uint32_t unused;
        if (!NewElement(unused)) // index 0 stands for "none"
            return Fail(L"Out of memory", 0);

        uint32_t parent = 0;
        uint32_t prev = 0;
        int depth = 0;
        size_t p = 0;
        for (;;) {
            SkipSpace(p);
            if (p >= m_end) {
                // The root's own end tag may be missing at the end of the text.
                if (parent <= 1)
                    return true;
                return Fail(L"Expected start tag", p);
            }
            if (m_t[p] != L'<')
                return Fail(L"Expected start tag", p);
            wchar_t next = At(p + 1);
            if (next == L'/') {
                if (parent == 0)
                    return true;
                if (!CloseElement(parent, p))
                    return false;
                prev = parent;
                parent = m_doc.m_elements[parent].parent;
                --depth;
                continue;
            }
            if (next == L'!') {
                SkipSection(p, L'-');
                continue;
            }
            if (next == L'?') {
                SkipSection(p, L'?');
                continue;
            }

            uint32_t e;
            if (!NewElement(e))
                return Fail(L"Out of memory", p);
            ++p;
            SkipSpace(p);
            Element* el = &m_doc.m_elements[e];
            el->name = static_cast<uint32_t>(p);
            el->parent = parent;
            if (prev)
                m_doc.m_elements[prev].nextSibling = e;
            else if (parent)
                m_doc.m_elements[parent].firstChild = e;
            prev = e;

            while (p < m_end && IsNameChar(m_t[p]))
                ++p;
            if (p >= m_end)
                return Fail(L"Error parsing element name", p);
            size_t nameEnd = p;
            if (!ParseAttributes(p))
                return false;
            SkipSpace(p);
            if (At(p) == L'/' && At(p + 1) == L'>') {
                m_t[nameEnd] = L'\0';
                m_t[p] = L'\0';
                el->content = static_cast<uint32_t>(p);
                p += 2;
                continue;
            }
            if (At(p) != L'>')
                return Fail(L"Expected start-tag closing", p);
            m_t[nameEnd] = L'\0';
            ++p;
            el->content = static_cast<uint32_t>(p);
            if (!Decode(p, L'<')) {
                if (parent < 2)
                    return true;
                return Fail(L"Expected end-tag start", p);
            }
            // Children, or this element's own end tag, come next.
            if (++depth > kMaxNestingDepth)
                return Fail(L"Elements nested too deeply", p);
            parent = e;
            prev = 0;
        }
    }

private:
    wchar_t At(size_t p) const { return p < m_end ? m_t[p] : L'\0'; }

    void SkipSpace(size_t& p) const
    {
        while (p < m_end && IsSpace(m_t[p]))
            ++p;
    }

    // "<!" runs to the next "->", "<?" to the next "?>"; unclosed, to the end.
    void SkipSection(size_t& p, wchar_t closer) const
    {
        p += 2;
        while (p < m_end && !(m_t[p] == closer && At(p + 1) == L'>'))
            ++p;
        p = p < m_end ? p + 2 : m_end;
    }

    bool NewElement(uint32_t& index)
    {
        CSkinMarkup& d = m_doc;
        if (d.m_elementCount >= d.m_elementCapacity) {
            uint32_t grown = d.m_elementCapacity + 500 + d.m_elementCapacity / 2;
            if (grown < d.m_elementCapacity || grown > SIZE_MAX / sizeof(Element))
                return false;
            void* table = realloc(d.m_elements, grown * sizeof(Element));
            if (!table)
                return false;
            d.m_elements = static_cast<Element*>(table);
            d.m_elementCapacity = grown;
        }
        index = d.m_elementCount++;
        d.m_elements[index] = Element{0, 0, 0, 0, 0};
        return true;
    }

    bool ParseAttributes(size_t& p)
    {
        for (;;) {
            SkipSpace(p);
            wchar_t c = At(p);
            if (p >= m_end || c == L'>' || c == L'/')
                return true;
            size_t nameStart = p;
            while (p < m_end && IsNameChar(m_t[p]))
                ++p;
            size_t nameEnd = p;
            SkipSpace(p);
            if (nameEnd == nameStart || At(p) != L'=')
                return Fail(L"Error while parsing attributes", p);
            ++p;
            SkipSpace(p);
            if (At(p) != L'"')
                return Fail(L"Expected attribute value", p);
            ++p;
            if (!Decode(p, L'"'))
                return Fail(L"Error while parsing attribute string", p);
            m_t[p++] = L'\0';
            m_t[nameEnd] = L'\0';
        }
    }

    // Length of the predefined entity starting at the ampersand at p, or 0.
    size_t MatchEntity(size_t p, wchar_t& ch) const
    {
        for (const Entity& entity : kEntities) {
            size_t n = 0;
            while (entity.name[n] && p + 1 + n < m_end && m_t[p + 1 + n] == entity.name[n])
                ++n;
            if (entity.name[n] == L'\0') {
                ch = entity.ch;
                return n + 1;
            }
        }
        return 0;
    }

    // Decodes in place from p up to the delimiter; the characters freed by
    // decoding become a terminator followed by spaces. False at the end of
    // the text (p is then the end).
    bool Decode(size_t& p, wchar_t delimiter)
    {
        size_t w = p;
        while (p < m_end && m_t[p] != delimiter) {
            wchar_t ch = m_t[p];
            size_t used = 1;
            if (ch == L'&') {
                size_t n = MatchEntity(p, ch);
                if (n)
                    used = n;
            }
            m_t[w++] = ch;
            p += used;
        }
        if (p >= m_end)
            return false;
        if (w < p) {
            m_t[w] = L'\0';
            for (size_t i = w + 1; i < p; ++i)
                m_t[i] = L' ';
        }
        return true;
    }

    bool CloseElement(uint32_t e, size_t& p)
    {
        m_t[p] = L'\0';
        p += 2;
        SkipSpace(p);
        const wchar_t* name = m_t + m_doc.m_elements[e].name;
        size_t len = wcslen(name);
        if (m_end - p < len || wmemcmp(m_t + p, name, len) != 0)
            return Fail(L"Unmatched closing tag", p);
        p += len;
        SkipSpace(p);
        if (At(p) != L'>')
            return Fail(L"Unmatched closing tag", p);
        ++p;
        return true;
    }

    bool Fail(const wchar_t* message, size_t p) { return m_doc.Fail(message, m_t + p, m_end - p); }

    CSkinMarkup& m_doc;
    wchar_t* m_t;
    size_t m_end;
};

CSkinMarkup::CSkinMarkup()
    : m_text(nullptr), m_length(0), m_elements(nullptr), m_elementCount(0), m_elementCapacity(0)
{
    m_errorMessage[0] = L'\0';
    m_errorLocation[0] = L'\0';
}

CSkinMarkup::CSkinMarkup(const wchar_t* xml) : CSkinMarkup()
{
    LoadFromText(xml);
}

CSkinMarkup::~CSkinMarkup()
{
    ReleaseDocument();
}

void CSkinMarkup::ReleaseDocument()
{
    free(m_text);
    free(m_elements);
    m_text = nullptr;
    m_length = 0;
    m_elements = nullptr;
    m_elementCount = 0;
    m_elementCapacity = 0;
}

bool CSkinMarkup::Fail(const wchar_t* message, const wchar_t* location, size_t available)
{
    wcsncpy(m_errorMessage, message, 99);
    m_errorMessage[99] = L'\0';
    size_t n = 0;
    if (location) {
        while (n < 49 && n < available && location[n])
            ++n;
        wmemcpy(m_errorLocation, location, n);
    }
    m_errorLocation[n] = L'\0';
    return false;
}

bool CSkinMarkup::LoadFromText(const wchar_t* xml)
{
    ReleaseDocument();
    if (!xml)
        xml = L"";
    size_t length = wcslen(xml);
    if (length > kMaxTextLength)
        return Fail(L"File too large", nullptr, 0);
    m_text = static_cast<wchar_t*>(malloc((length + 1) * sizeof(wchar_t)));
    if (!m_text)
        return Fail(L"Out of memory", nullptr, 0);
    wmemcpy(m_text, xml, length + 1);
    m_length = length;
    return ParseDocument();
}

bool CSkinMarkup::LoadFromBytes(const void* bytes, size_t size, SkinEncoding)
{
    ReleaseDocument();
    const unsigned char* data = static_cast<const unsigned char*>(bytes);
    if (!data)
        size = 0;
    if (size > 2 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
        data += 3;
        size -= 3;
    }
    if (size > kMaxTextLength || size >= SIZE_MAX / sizeof(wchar_t))
        return Fail(L"File too large", nullptr, 0);
    m_text = static_cast<wchar_t*>(malloc((size + 1) * sizeof(wchar_t)));
    if (!m_text)
        return Fail(L"Out of memory", nullptr, 0);
    m_length = size ? Utf8ToWide(data, size, m_text) : 0;
    m_text[m_length] = L'\0';
    return ParseDocument();
}

bool CSkinMarkup::ParseDocument()
{
    m_errorMessage[0] = L'\0';
    m_errorLocation[0] = L'\0';
    Parser parser(*this);
    if (parser.Run())
        return true;
    ReleaseDocument();
    return false;
}

CSkinMarkupNode CSkinMarkup::Root()
{
    if (m_elementCount < 2)
        return CSkinMarkupNode();
    return CSkinMarkupNode(this, 1);
}

CSkinMarkupNode::CSkinMarkupNode() : m_element(0), m_doc(nullptr), m_located(false), m_attributeCount(0)
{
}

CSkinMarkupNode::CSkinMarkupNode(CSkinMarkup* doc, int32_t element)
    : m_element(element), m_doc(doc), m_located(false), m_attributeCount(0)
{
}

CSkinMarkupNode CSkinMarkupNode::FirstChild() const
{
    if (!m_doc || m_doc->m_elements[m_element].firstChild == 0)
        return CSkinMarkupNode();
    return CSkinMarkupNode(m_doc, static_cast<int32_t>(m_doc->m_elements[m_element].firstChild));
}

CSkinMarkupNode CSkinMarkupNode::NextSibling() const
{
    if (!m_doc || m_doc->m_elements[m_element].nextSibling == 0)
        return CSkinMarkupNode();
    return CSkinMarkupNode(m_doc, static_cast<int32_t>(m_doc->m_elements[m_element].nextSibling));
}

const wchar_t* CSkinMarkupNode::Name() const
{
    return m_doc ? m_doc->m_text + m_doc->m_elements[m_element].name : nullptr;
}

bool CSkinMarkupNode::HasChildren() const
{
    return m_doc && m_doc->m_elements[m_element].firstChild != 0;
}

void CSkinMarkupNode::LocateAttributes() const
{
    if (m_located || !m_doc)
        return;
    m_located = true;
    m_attributeCount = 0;
    const CSkinMarkup::Element& el = m_doc->m_elements[m_element];
    const wchar_t* t = m_doc->m_text;
    const size_t stop = el.content;
    size_t p = el.name + wcslen(t + el.name) + 1;
    for (;;) {
        while (p < stop && IsSpace(t[p]))
            ++p;
        if (p >= stop || !IsNameChar(t[p]))
            return;
        size_t name = p;
        while (p < stop && IsNameChar(t[p]))
            ++p;
        // The parser allows spaces around "=": skip them and the sign.
        while (p < stop && IsSpace(t[p]))
            ++p;
        if (p < stop && t[p] == L'=') {
            ++p;
            while (p < stop && IsSpace(t[p]))
                ++p;
        }
        if (p >= stop || t[p] != L'"')
            return;
        size_t value = ++p;
        while (p < stop && t[p] != L'\0')
            ++p;
        if (p >= stop)
            return;
        ++p;
        if (m_attributeCount < kMaxAttributes) {
            m_attributes[m_attributeCount][0] = static_cast<uint32_t>(name);
            m_attributes[m_attributeCount][1] = static_cast<uint32_t>(value);
            ++m_attributeCount;
        }
    }
}

bool CSkinMarkupNode::HasAttributes() const
{
    return AttributeCount() > 0;
}

int CSkinMarkupNode::AttributeCount() const
{
    LocateAttributes();
    return m_doc ? m_attributeCount : 0;
}

const wchar_t* CSkinMarkupNode::AttributeName(int index) const
{
    if (!m_doc)
        return nullptr;
    if (index < 0 || index >= AttributeCount())
        return L"";
    return m_doc->m_text + m_attributes[index][0];
}

const wchar_t* CSkinMarkupNode::AttributeValue(int index) const
{
    if (!m_doc)
        return nullptr;
    if (index < 0 || index >= AttributeCount())
        return L"";
    return m_doc->m_text + m_attributes[index][1];
}

bool CSkinMarkupNode::CopyAttributeValue(const wchar_t* name, wchar_t* buffer, size_t capacity) const
{
    if (!m_doc || !name || !buffer || capacity == 0)
        return false;
    int count = AttributeCount();
    for (int i = 0; i < count; ++i) {
        if (CompareTextIgnoreCase(AttributeName(i), name) != 0)
            continue;
        const wchar_t* value = AttributeValue(i);
        size_t n = wcslen(value);
        if (n > capacity - 1)
            n = capacity - 1;
        wmemcpy(buffer, value, n);
        buffer[n] = L'\0';
        return true;
    }
    return false;
}

} // namespace SkinUI
