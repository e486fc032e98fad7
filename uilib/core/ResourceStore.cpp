#include "uilib/core/ResourceStore.h"

#include <cstdint>
#include <vector>

#include "uilib/core/SkinMarkup.h"

namespace SkinUI {

namespace {

CResourceStore* g_store = nullptr;

// Deeper nesting in the resource index is not walked: no skin groups that
// deep, and a hostile file must not exhaust the stack.
const int kMaxIndexDepth = 64;

bool IsResourceId(const wchar_t* source)
{
    return reinterpret_cast<uintptr_t>(source) < 0x10000;
}

bool NameIs(const wchar_t* name, const wchar_t* wanted)
{
    return name && CompareTextIgnoreCase(name, wanted) == 0;
}

// The value of the first attribute named name (ignoring case), or null.
const wchar_t* AttributeOf(const CSkinMarkupNode& node, const wchar_t* name)
{
    const int count = node.AttributeCount();
    for (int i = 0; i < count; ++i) {
        if (NameIs(node.AttributeName(i), name)) return node.AttributeValue(i);
    }
    return nullptr;
}

// Records id -> path unless the id is already known.
void AddIndexEntry(CUIStringMap& index, const wchar_t* id, const wchar_t* path)
{
    CUIString* value = new CUIString(path);
    if (!index.InsertNew(id, value)) delete value;
}

// Sets key's text, reusing the string already there; null when it could not
// be stored.
CUIString* PutText(CUIStringMap& texts, const wchar_t* key, const wchar_t* text)
{
    CUIString* current = static_cast<CUIString*>(texts.Lookup(key, false));
    if (current) {
        *current = text;
        return current;
    }
    CUIString* fresh = new CUIString(text);
    if (texts.Set(key, fresh) == fresh) {
        delete fresh;
        return nullptr;
    }
    return fresh;
}

} // namespace

CResourceStore* CResourceStore::GetInstance()
{
    if (!g_store) g_store = new CResourceStore();
    return g_store;
}

void CResourceStore::ReleaseInstance()
{
    delete g_store;
    g_store = nullptr;
}

CResourceStore::CResourceStore()
    : m_currentLanguage(0)
    , m_languageCount(0)
    , m_query(nullptr)
    , m_loader(nullptr)
{
}

CResourceStore::~CResourceStore()
{
    for (CUIStringMap& texts : m_languageTexts) FreeTexts(texts);
    FreeTexts(m_images);
    FreeTexts(m_layouts);
}

void CResourceStore::FreeTexts(CUIStringMap& map)
{
    // Without moving entries, so that positions stay put while walking.
    for (int i = 0; i < map.Count(); ++i) delete static_cast<CUIString*>(map.Lookup(map.KeyAt(i), false));
    map.RemoveAll();
}

bool CResourceStore::LoadDocument(CSkinMarkup& doc, const wchar_t* source, const wchar_t* resourceType)
{
    if (!IsResourceId(source) && source[0] == L'<') return doc.LoadFromText(source);
    return m_loader && m_loader(doc, source, resourceType);
}

bool CResourceStore::AddLanguage(const wchar_t* source, const wchar_t* name)
{
    if (!source || IsResourceId(source)) return false;
    CSkinMarkup doc;
    if (!LoadDocument(doc, source, nullptr)) return false;
    CSkinMarkupNode root = doc.Root();
    if (!root.IsValid() || m_languageCount >= kMaxLanguages) return false;

    const int slot = m_languageCount++;
    m_currentLanguage = slot;
    m_languageNames[slot] = name;
    CUIStringMap& texts = m_languageTexts[slot];
    // Chains of a few entries however long the file: a fixed table would
    // make every lookup walk hundreds of keys.
    int elements = 0;
    for (CSkinMarkupNode child = root.FirstChild(); child.IsValid(); child = child.NextSibling()) ++elements;
    if (elements / 2 > texts.BucketCount()) texts.Reset(elements / 2 | 1);
    for (CSkinMarkupNode child = root.FirstChild(); child.IsValid(); child = child.NextSibling()) {
        if (!NameIs(child.Name(), L"Text")) continue;
        const wchar_t* key = AttributeOf(child, L"id");
        const wchar_t* value = AttributeOf(child, L"value");
        if (!key || !value) continue;
        // A later duplicate replaces the earlier text.
        PutText(texts, key, value);
    }
    doc.ReleaseDocument();

    if (m_query) {
        // Keys first: storing an answer reorders the map.
        std::vector<CUIString> keys;
        for (int i = 0; i < texts.Count(); ++i) keys.emplace_back(texts.KeyAt(i));
        for (const CUIString& key : keys) {
            const wchar_t* answer = m_query->LookupControlText(key.CStr(), nullptr);
            if (answer) PutText(texts, key.CStr(), answer);
        }
    }
    return true;
}

void CResourceStore::SelectLanguage(const wchar_t* name)
{
    int found = -1;
    for (int i = 0; i < m_languageCount; ++i) {
        if (m_languageNames[i].CompareIgnoreCase(name) == 0) found = i;
    }
    if (found >= 0) m_currentLanguage = found;
}

const wchar_t* CResourceStore::CurrentLanguageName() const
{
    return m_languageNames[m_currentLanguage].CStr();
}

CUIString CResourceStore::LookupText(const wchar_t* text, const wchar_t* type)
{
    if (!text || text[0] == L'\0') return CUIString();
    if (text[0] != L'$' || text[1] != L'{') return CUIString(text);

    CUIStringMap& texts = m_languageTexts[m_currentLanguage];
    const CUIString* found = static_cast<CUIString*>(texts.Lookup(text, true));
    const wchar_t* display = found ? found->CStr() : text;
    if (!found && m_query) {
        const wchar_t* answer = m_query->LookupControlText(text, type);
        if (answer) {
            PutText(texts, text, answer);
            display = answer;
        } else {
            // Entered without a text: the next lookup asks again.
            texts.InsertNew(text, nullptr);
        }
    }
    CUIString result(display);
    result.ReplaceAll(L"{\\n}", L"\n");
    return result;
}

bool CResourceStore::LoadResourceIndex(const wchar_t* source, const wchar_t* resourceType)
{
    if (!source) return false;
    CSkinMarkup doc;
    if (!LoadDocument(doc, source, resourceType)) return false;
    CSkinMarkupNode root = doc.Root();
    if (!root.IsValid()) return false;
    ReadIndexLevel(root.FirstChild(), 1);
    return true;
}

void CResourceStore::ReadIndexLevel(const CSkinMarkupNode& first, int depth)
{
    for (CSkinMarkupNode node = first; node.IsValid(); node = node.NextSibling()) {
        if (node.HasChildren()) {
            // A group: only its children count.
            if (depth < kMaxIndexDepth) ReadIndexLevel(node.FirstChild(), depth + 1);
            continue;
        }
        const bool image = NameIs(node.Name(), L"Image");
        if (!image && !NameIs(node.Name(), L"Xml")) continue;
        const wchar_t* id = AttributeOf(node, L"id");
        const wchar_t* path = AttributeOf(node, L"path");
        if (id && path) AddIndexEntry(image ? m_images : m_layouts, id, path);
    }
}

const wchar_t* CResourceStore::ImagePathOf(const wchar_t* id)
{
    const CUIString* path = id ? static_cast<CUIString*>(m_images.Lookup(id, true)) : nullptr;
    return path ? path->CStr() : nullptr;
}

const wchar_t* CResourceStore::LayoutPathOf(const wchar_t* id)
{
    const CUIString* path = id ? static_cast<CUIString*>(m_layouts.Lookup(id, true)) : nullptr;
    return path ? path->CStr() : nullptr;
}

} // namespace SkinUI
